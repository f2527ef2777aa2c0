GRAPH width=3
INPUTDIALOG a
x=inputdialog(a$)


