#pragma once
/* The control device behind "\\.\VORN_SIM_CONTROL": its requests script the
   simulated controller and read back its request log. */

#include <ddk/wdm.h>

NTSTATUS ControlDevice_Create(PDRIVER_OBJECT driver, PDEVICE_OBJECT* device);
void ControlDevice_Delete(PDEVICE_OBJECT device);
NTSTATUS ControlDevice_Dispatch(PIRP irp);
