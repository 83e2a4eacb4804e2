Global Window_0=-1
Procedure Open_Window_0()
  Window_0 = OpenWindow(#PB_Any, 10, 10, 320, 240, "Window_0", #PB_Window_SystemMenu)
  Button_0 = ButtonGadget(#PB_Any, 10, 10, 80, 25, "OK")
  TextGadget(#Text_0, 10, 50, 120, 20, "Name:")
  Image_0 = ImageGadget(#PB_Any, 140, 10, 64, 64, 0)

  GadgetToolTip(#Text_0, "Hint")
EndProcedure
