shape left=3, right=1, rectangle
shape wibble
shape left 3
shape filltype=striped
shape lineweight=11
shape polypoints=nothing
changeshape 0, top=1
changeshape -1, top=1
updateregion 0, 10, 5, 0
updateregion 0, , 5, 0
deleteshape -1
deleteshape 2
dim a(2,2)
shape characters="A", polypoints=a(), charoutline
shape polypoints=a(), plotcharoutline
shape characters="A", text
run graph_shape_console.bas


