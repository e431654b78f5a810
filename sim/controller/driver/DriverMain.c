/* The simulated knob controller: a kernel driver with two devices, the controller
   that the library opens and a control device through which tests script it. */

#include <ddk/wdm.h>

#include "ControlDevice.h"
#include "ControllerDevice.h"
#include "SimState.h"

NTSTATUS NTAPI DriverEntry(PDRIVER_OBJECT driver, PUNICODE_STRING registryPath);

static PDEVICE_OBJECT controllerDevice;
static PDEVICE_OBJECT controlDevice;

static NTSTATUS NTAPI Dispatch(PDEVICE_OBJECT device, PIRP irp)
{
    if (device == controllerDevice) {
        return ControllerDevice_Dispatch(irp);
    }
    return ControlDevice_Dispatch(irp);
}

static void NTAPI Unload(PDRIVER_OBJECT driver)
{
    UNREFERENCED_PARAMETER(driver);
    ControlDevice_Delete(controlDevice);
    ControllerDevice_Delete(controllerDevice);
    SimState_Free();
}

NTSTATUS NTAPI DriverEntry(PDRIVER_OBJECT driver, PUNICODE_STRING registryPath)
{
    NTSTATUS status;
    UNREFERENCED_PARAMETER(registryPath);

    status = SimState_Initialize();
    if (!NT_SUCCESS(status)) {
        return status;
    }
    /* Routing is in place before any name appears, so the first open is served. */
    driver->MajorFunction[IRP_MJ_CREATE] = Dispatch;
    driver->MajorFunction[IRP_MJ_CLEANUP] = Dispatch;
    driver->MajorFunction[IRP_MJ_CLOSE] = Dispatch;
    driver->MajorFunction[IRP_MJ_DEVICE_CONTROL] = Dispatch;
    driver->DriverUnload = Unload;

    status = ControllerDevice_Create(driver, &controllerDevice);
    if (!NT_SUCCESS(status)) {
        SimState_Free();
        return status;
    }
    status = ControlDevice_Create(driver, &controlDevice);
    if (!NT_SUCCESS(status)) {
        ControllerDevice_Delete(controllerDevice);
        SimState_Free();
    }
    return status;
}
