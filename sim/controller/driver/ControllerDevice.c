#include "ControllerDevice.h"

#include "IrpCompletion.h"
#include "SimState.h"

/* The controller's side of the protocol. Written out here rather than shared with
   the library, so that a wrong constant on one side cannot agree with itself. */
#define CONTROLLER_IOCTL 0x808
#define LED_COMMAND 1
#define READ_COMMAND 14
#define COMMAND_CODE_BYTE 0
#define LED_STATE_BYTE 3
#define READ_REPLY_LENGTH 8
#define KEY_BYTE 6
#define KNOB_COUNT_BYTE 7

#define MICROSECONDS_PER_SECOND 1000000ULL

static ULONGLONG NowMicroseconds(void)
{
    LARGE_INTEGER frequency;
    const LARGE_INTEGER counter = KeQueryPerformanceCounter(&frequency);
    const ULONGLONG ticks = (ULONGLONG)counter.QuadPart;
    const ULONGLONG perSecond = (ULONGLONG)frequency.QuadPart;
    /* Split so that the product cannot overflow. */
    return ticks / perSecond * MICROSECONDS_PER_SECOND +
           ticks % perSecond * MICROSECONDS_PER_SECOND / perSecond;
}

static void LogRequest(const UCHAR* buffer, ULONG inputLength, ULONG outputCapacity)
{
    VornSimLogEntry entry;
    RtlZeroMemory(&entry, sizeof entry);
    entry.timeMicroseconds = NowMicroseconds();
    entry.inputLength = inputLength;
    entry.outputCapacity = outputCapacity;
    RtlCopyMemory(entry.command, buffer,
                  inputLength < VORNSIM_COMMAND_LENGTH ? inputLength : VORNSIM_COMMAND_LENGTH);
    SimState_LogRequest(&entry);
}

static NTSTATUS AnswerRead(UCHAR* buffer, ULONG outputCapacity, ULONG* replyLength)
{
    /* Every reply takes the next reading, whatever its length. */
    const VornSimReading reading = SimState_NextReading();
    ULONG length = READ_REPLY_LENGTH;
    SimState_TakeWrongLength(&length);
    if (length > outputCapacity) {
        return STATUS_BUFFER_TOO_SMALL;
    }
    RtlZeroMemory(buffer, length);
    if (length > KEY_BYTE) {
        buffer[KEY_BYTE] = reading.keyByte;
    }
    if (length > KNOB_COUNT_BYTE) {
        buffer[KNOB_COUNT_BYTE] = reading.knobCount;
    }
    *replyLength = length;
    return STATUS_SUCCESS;
}

static NTSTATUS AnswerCommand(UCHAR* buffer, ULONG inputLength, ULONG outputCapacity,
                              ULONG* replyLength)
{
    UCHAR command;
    *replyLength = 0;
    if (!SimState_IsPresent()) {
        return STATUS_DEVICE_NOT_CONNECTED;
    }
    if (inputLength != VORNSIM_COMMAND_LENGTH) {
        return STATUS_INVALID_PARAMETER;
    }
    command = buffer[COMMAND_CODE_BYTE];
    if (SimState_TakeFailure(command)) {
        return STATUS_IO_DEVICE_ERROR;
    }
    switch (command) {
    case LED_COMMAND:
        /* The LED command is answered with no bytes. */
        SimState_SetLedState(buffer[LED_STATE_BYTE]);
        return STATUS_SUCCESS;
    case READ_COMMAND:
        return AnswerRead(buffer, outputCapacity, replyLength);
    default:
        return STATUS_INVALID_DEVICE_REQUEST;
    }
}

static NTSTATUS Control(PIRP irp)
{
    const PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
    const ULONG inputLength = stack->Parameters.DeviceIoControl.InputBufferLength;
    const ULONG outputCapacity = stack->Parameters.DeviceIoControl.OutputBufferLength;
    UCHAR* buffer = irp->AssociatedIrp.SystemBuffer;
    ULONG replyLength = 0;
    NTSTATUS status;

    if (stack->Parameters.DeviceIoControl.IoControlCode != CONTROLLER_IOCTL) {
        return CompleteRequest(irp, STATUS_INVALID_DEVICE_REQUEST, 0);
    }
    /* Logged on arrival, before the script decides the answer, so failed requests
       show in the log too. */
    LogRequest(buffer, inputLength, outputCapacity);
    status = AnswerCommand(buffer, inputLength, outputCapacity, &replyLength);
    return CompleteRequest(irp, status, replyLength);
}

NTSTATUS ControllerDevice_Dispatch(PIRP irp)
{
    switch (IoGetCurrentIrpStackLocation(irp)->MajorFunction) {
    case IRP_MJ_CREATE:
        SimState_HandleOpened();
        return CompleteRequest(irp, STATUS_SUCCESS, 0);
    case IRP_MJ_CLOSE:
        SimState_HandleClosed();
        return CompleteRequest(irp, STATUS_SUCCESS, 0);
    case IRP_MJ_DEVICE_CONTROL:
        return Control(irp);
    default:
        return CompleteRequest(irp, STATUS_SUCCESS, 0);
    }
}

NTSTATUS ControllerDevice_SetPresent(BOOLEAN present)
{
    UNICODE_STRING deviceName;
    UNICODE_STRING linkName;
    NTSTATUS status;
    /* Control requests come one at a time, so the name exists exactly when the state
       says present. */
    if (SimState_IsPresent() == present) {
        return STATUS_SUCCESS;
    }
    RtlInitUnicodeString(&deviceName, VORNSIM_CONTROLLER_DEVICE_NAME);
    RtlInitUnicodeString(&linkName, VORNSIM_CONTROLLER_LINK_NAME);
    status = present ? IoCreateSymbolicLink(&linkName, &deviceName) : IoDeleteSymbolicLink(&linkName);
    if (NT_SUCCESS(status)) {
        SimState_SetPresent(present);
    }
    return status;
}

NTSTATUS ControllerDevice_Create(PDRIVER_OBJECT driver, PDEVICE_OBJECT* device)
{
    UNICODE_STRING deviceName;
    NTSTATUS status;
    RtlInitUnicodeString(&deviceName, VORNSIM_CONTROLLER_DEVICE_NAME);
    status = IoCreateDevice(driver, 0, &deviceName, FILE_DEVICE_UNKNOWN, 0, FALSE, device);
    if (!NT_SUCCESS(status)) {
        return status;
    }
    status = ControllerDevice_SetPresent(TRUE);
    if (!NT_SUCCESS(status)) {
        IoDeleteDevice(*device);
        *device = NULL;
    }
    return status;
}

void ControllerDevice_Delete(PDEVICE_OBJECT device)
{
    ControllerDevice_SetPresent(FALSE);
    IoDeleteDevice(device);
}
