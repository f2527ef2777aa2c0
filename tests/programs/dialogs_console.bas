REM Dialogs for programs are refused in console mode (the typed lines of dialogs_console.cmd).
DIM s$(2)
UPDATEDIALOG "Title"; a
x = updatedialog(s$)
x = messagebox("Message", "OK")
x = select("Pick one", s$)
f$ = browseinputfile$("Open")
f$ = browseoutputfile$("Save")
p$ = browsecommports$("Port")
f$ = choosefont$
