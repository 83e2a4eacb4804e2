Box = ContainerGadget(#PB_Any, 5, 5, 100, 100)
