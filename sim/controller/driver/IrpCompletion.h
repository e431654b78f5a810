#pragma once
/* Every request is answered at once: the simulator never holds one pending. */

#include <ddk/wdm.h>

static inline NTSTATUS CompleteRequest(PIRP irp, NTSTATUS status, ULONG_PTR information)
{
    irp->IoStatus.Status = status;
    irp->IoStatus.Information = NT_SUCCESS(status) ? information : 0;
    IoCompleteRequest(irp, IO_NO_INCREMENT);
    return status;
}
