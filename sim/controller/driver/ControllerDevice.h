#pragma once
/* The simulated controller as the library sees it: the device behind
   "\\.\VORN_OEMUSBA_0", answering the LED and read commands as the controller does,
   with what the script says, and logging every request. */

#include <ddk/wdm.h>

NTSTATUS ControllerDevice_Create(PDRIVER_OBJECT driver, PDEVICE_OBJECT* device);
void ControllerDevice_Delete(PDEVICE_OBJECT device);
/* Plugs the controller in or out: creates or removes the name it is opened by. */
NTSTATUS ControllerDevice_SetPresent(BOOLEAN present);
NTSTATUS ControllerDevice_Dispatch(PIRP irp);
