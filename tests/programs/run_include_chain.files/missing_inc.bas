include "nowhere.bas"
