W = OpenWindow(#PB_Any, 0, 0, 400, 300, "W")
ButtonGadget(#Button_0, 10, 10, 80, 25, "OK")
Found = MyButton(#PB_Any, 1, 2, 50, 20, "B") ; OpenWindow(
C = ContainerGadget(#PB_Any, 0, 0, 100, 100, #PB_Container_Flat)
CloseGadgetList()
T = TextGadget(#PB_Any, $A, %11, 50, 20, ""Hi"")
V = ButtonGadget(#PB_Any, 0, 0, 50, 20, Text$)
N = ButtonGadget(#PB_Any, 7, 7, #PB_Ignore, 20, "kept")
