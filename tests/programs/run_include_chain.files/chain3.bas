x = 7
chain "chain2.bas"
