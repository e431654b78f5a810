#include "ControlDevice.h"

#include "ControllerDevice.h"
#include "IrpCompletion.h"
#include "SimState.h"

typedef struct Request {
    void* buffer; /* input first, then the reply in place */
    ULONG inputLength;
    ULONG outputCapacity;
} Request;

static NTSTATUS GetStatus(const Request* request, ULONG_PTR* replyLength)
{
    if (request->outputCapacity < sizeof(VornSimStatus)) {
        return STATUS_BUFFER_TOO_SMALL;
    }
    SimState_GetStatus(request->buffer);
    *replyLength = sizeof(VornSimStatus);
    return STATUS_SUCCESS;
}

static NTSTATUS Reset(void)
{
    SimState_Reset();
    /* The start state has the controller plugged in. */
    return ControllerDevice_SetPresent(TRUE);
}

static NTSTATUS SetReading(const Request* request)
{
    if (request->inputLength != sizeof(VornSimReading)) {
        return STATUS_INVALID_PARAMETER;
    }
    SimState_SetReading(*(const VornSimReading*)request->buffer);
    return STATUS_SUCCESS;
}

static NTSTATUS QueueReadings(const Request* request)
{
    if (request->inputLength % sizeof(VornSimReading) != 0) {
        return STATUS_INVALID_PARAMETER;
    }
    return SimState_QueueReadings(request->buffer, request->inputLength / sizeof(VornSimReading));
}

static NTSTATUS FailNext(const Request* request)
{
    const VornSimFailNext* failNext = request->buffer;
    if (request->inputLength != sizeof *failNext) {
        return STATUS_INVALID_PARAMETER;
    }
    SimState_FailNext(failNext->command, failNext->count);
    return STATUS_SUCCESS;
}

static NTSTATUS WrongLengthNext(const Request* request)
{
    const VornSimWrongLength* wrongLength = request->buffer;
    if (request->inputLength != sizeof *wrongLength ||
        wrongLength->length > VORNSIM_MAX_REPLY_LENGTH) {
        return STATUS_INVALID_PARAMETER;
    }
    SimState_WrongLengthNext(wrongLength->count, wrongLength->length);
    return STATUS_SUCCESS;
}

static NTSTATUS ReadLog(const Request* request, ULONG_PTR* replyLength)
{
    VornSimLogHeader* header = request->buffer;
    ULONG firstIndex;
    ULONG copied;
    if (request->inputLength != sizeof(VornSimLogQuery)) {
        return STATUS_INVALID_PARAMETER;
    }
    if (request->outputCapacity < sizeof *header) {
        return STATUS_BUFFER_TOO_SMALL;
    }
    /* Taken before the reply overwrites it in the shared buffer. */
    firstIndex = ((const VornSimLogQuery*)request->buffer)->firstIndex;
    copied = SimState_ReadLog(firstIndex, header, (VornSimLogEntry*)(header + 1),
                              (request->outputCapacity - sizeof *header) / sizeof(VornSimLogEntry));
    *replyLength = sizeof *header + copied * sizeof(VornSimLogEntry);
    return STATUS_SUCCESS;
}

static NTSTATUS SetPresent(const Request* request)
{
    if (request->inputLength != sizeof(VornSimPresence)) {
        return STATUS_INVALID_PARAMETER;
    }
    return ControllerDevice_SetPresent(((const VornSimPresence*)request->buffer)->present != 0);
}

static NTSTATUS Control(PIRP irp)
{
    const PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
    Request request;
    ULONG_PTR replyLength = 0;
    NTSTATUS status;

    request.buffer = irp->AssociatedIrp.SystemBuffer;
    request.inputLength = stack->Parameters.DeviceIoControl.InputBufferLength;
    request.outputCapacity = stack->Parameters.DeviceIoControl.OutputBufferLength;

    switch (stack->Parameters.DeviceIoControl.IoControlCode) {
    case IOCTL_VORNSIM_GET_STATUS:
        status = GetStatus(&request, &replyLength);
        break;
    case IOCTL_VORNSIM_RESET:
        status = Reset();
        break;
    case IOCTL_VORNSIM_SET_READING:
        status = SetReading(&request);
        break;
    case IOCTL_VORNSIM_QUEUE_READINGS:
        status = QueueReadings(&request);
        break;
    case IOCTL_VORNSIM_FAIL_NEXT:
        status = FailNext(&request);
        break;
    case IOCTL_VORNSIM_WRONG_LENGTH_NEXT:
        status = WrongLengthNext(&request);
        break;
    case IOCTL_VORNSIM_READ_LOG:
        status = ReadLog(&request, &replyLength);
        break;
    case IOCTL_VORNSIM_CLEAR_LOG:
        SimState_ClearLog();
        status = STATUS_SUCCESS;
        break;
    case IOCTL_VORNSIM_SET_PRESENT:
        status = SetPresent(&request);
        break;
    default:
        status = STATUS_INVALID_DEVICE_REQUEST;
        break;
    }
    return CompleteRequest(irp, status, replyLength);
}

NTSTATUS ControlDevice_Dispatch(PIRP irp)
{
    if (IoGetCurrentIrpStackLocation(irp)->MajorFunction == IRP_MJ_DEVICE_CONTROL) {
        return Control(irp);
    }
    /* Opening and closing the control device needs nothing. */
    return CompleteRequest(irp, STATUS_SUCCESS, 0);
}

NTSTATUS ControlDevice_Create(PDRIVER_OBJECT driver, PDEVICE_OBJECT* device)
{
    UNICODE_STRING deviceName;
    UNICODE_STRING linkName;
    NTSTATUS status;
    RtlInitUnicodeString(&deviceName, VORNSIM_CONTROL_DEVICE_NAME);
    RtlInitUnicodeString(&linkName, VORNSIM_CONTROL_LINK_NAME);
    status = IoCreateDevice(driver, 0, &deviceName, FILE_DEVICE_UNKNOWN, 0, FALSE, device);
    if (!NT_SUCCESS(status)) {
        return status;
    }
    status = IoCreateSymbolicLink(&linkName, &deviceName);
    if (!NT_SUCCESS(status)) {
        IoDeleteDevice(*device);
        *device = NULL;
    }
    return status;
}

void ControlDevice_Delete(PDEVICE_OBJECT device)
{
    UNICODE_STRING linkName;
    RtlInitUnicodeString(&linkName, VORNSIM_CONTROL_LINK_NAME);
    IoDeleteSymbolicLink(&linkName);
    IoDeleteDevice(device);
}
