// String functions on empty strings, counts at and beyond their limits, and
// counts that are not whole numbers.
e$ = ""
s$ = "abcdef"
PRINT "["; left$(e$, 0); "]["; left$(e$, 5); "]["; right$(e$, 5); "]["; mid$(e$, 1); "]"
PRINT "["; left$(s$, 0); "]["; left$(s$, 2.9); "]["; left$(s$, 6); "]["; left$(s$, 1e300); "]"
PRINT "["; right$(s$, 0); "]["; right$(s$, 2.9); "]["; right$(s$, 7); "]["; right$(s$, 1e300); "]"
PRINT "["; mid$(s$, 6); "]["; mid$(s$, 7); "]["; mid$(s$, 1e300); "]["; mid$(s$, 2.9, 2.9); "]"
PRINT "["; mid$(s$, 3, 0); "]["; mid$(s$, 3, 1e300); "]["; mid$(s$, 1, 255); "]"
PRINT instr(e$, ""); instr(s$, ""); instr(s$, "cd"); instr(3, s$, "cd"); instr(4, s$, "cd")
PRINT instr(0, s$, "a"); instr(6, s$, "f"); instr(7, s$, "f"); instr(s$, "abcdefg"); instr(2.9, s$, "b")
PRINT len(e$); len(s$); asc(e$); asc("~x"); len(chr$(0)); len(space$(0)); len(string$(0, "x"))
PRINT "["; string$(3, e$); "]["; string$(3, 66); "]["; string$(2.9, "xy"); "]["; space$(2.9); "]"
PRINT "["; chr$(65.9); "]"; len(space$(255)); len(string$(255, "z"))
PRINT "["; toupper$(e$); "]["; toupper$("a1_z{"); "]["; tolower$("A@Z["); "]"
PRINT val(e$) + 1; val("  -12.5e1xyz") + 0; val(" .5") + 0; val("+3") + 0
