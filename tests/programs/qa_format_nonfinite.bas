rem Pictures given an infinity: the exponential form, never the letters spread over the picture
big = 1e308 + 1e308
print "["; str$(big, "#,###.cc"); "]["; str$(-big, "#,###.cc"); "]"
print "["; str$(big, "##.cc"); "]["; str$(-big, "###.##"); "]["; str$(big, "+###"); "]"
print using "$#,###.##"; -big
rem finite values still fill the picture
x = 1234.5 : print using "#,###.cc"; x
