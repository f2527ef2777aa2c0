DIM s$(2)
UPDATEDIALOG "Title"; a
x = updatedialog(s$)
x = messagebox("Message", "OK")
x = select("Pick one", s$)
f$ = browseinputfile$("Open")
f$ = browseoutputfile$("Save")
p$ = browsecommports$("Port")
f$ = choosefont$


