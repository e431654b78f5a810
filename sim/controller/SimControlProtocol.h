#pragma once
/*
 * The scripting interface of the simulated controller. Beside the controller
 * device the driver creates a control device; its requests set what the
 * controller answers and read back every request the controller received.
 *
 * Shared by the driver (C, kernel mode) and the host-side script (C++). Include it
 * after <wdm.h>, or after <windows.h> and <winioctl.h>, which define CTL_CODE.
 * Fixed-width fields with explicit padding only, so 32- and 64-bit clients see
 * the same layout.
 */

#include <stdint.h>

#define VORNSIM_SERVICE_NAME L"vornsim"
#define VORNSIM_DRIVER_FILE L"vornsim.sys"

#define VORNSIM_CONTROLLER_DEVICE_NAME L"\\Device\\VORN_OEMUSBA_0"
#define VORNSIM_CONTROLLER_LINK_NAME L"\\DosDevices\\VORN_OEMUSBA_0"
#define VORNSIM_CONTROL_DEVICE_NAME L"\\Device\\VORN_SIM_CONTROL"
#define VORNSIM_CONTROL_LINK_NAME L"\\DosDevices\\VORN_SIM_CONTROL"
#define VORNSIM_CONTROL_PATH L"\\\\.\\VORN_SIM_CONTROL"

/* Raised whenever a request or a structure below changes, so that a client never
   scripts a driver of another build that is still running. */
#define VORNSIM_PROTOCOL_VERSION 1u

#define VORNSIM_IOCTL(function) CTL_CODE(FILE_DEVICE_UNKNOWN, 0x900 + (function), METHOD_BUFFERED, FILE_ANY_ACCESS)

/* out: VornSimStatus */
#define IOCTL_VORNSIM_GET_STATUS VORNSIM_IOCTL(0)
/* Back to the start state: reading at rest, no failures, empty log, present. */
#define IOCTL_VORNSIM_RESET VORNSIM_IOCTL(1)
/* in: VornSimReading. Every read answers with it from now on; queued readings are dropped. */
#define IOCTL_VORNSIM_SET_READING VORNSIM_IOCTL(2)
/* in: VornSimReading[n]. The next n reads answer with these in turn; the last one stays. */
#define IOCTL_VORNSIM_QUEUE_READINGS VORNSIM_IOCTL(3)
/* in: VornSimFailNext. The next `count` requests with this command code fail. */
#define IOCTL_VORNSIM_FAIL_NEXT VORNSIM_IOCTL(4)
/* in: VornSimWrongLength. The next `count` read replies are `length` bytes long. */
#define IOCTL_VORNSIM_WRONG_LENGTH_NEXT VORNSIM_IOCTL(5)
/* in: VornSimLogQuery; out: VornSimLogHeader, then as many entries from
   firstIndex on as fit. */
#define IOCTL_VORNSIM_READ_LOG VORNSIM_IOCTL(6)
#define IOCTL_VORNSIM_CLEAR_LOG VORNSIM_IOCTL(7)
/* in: VornSimPresence. Absent: the controller's name is gone, so opens fail, and
   requests on handles still open fail as on an unplugged device. */
#define IOCTL_VORNSIM_SET_PRESENT VORNSIM_IOCTL(8)

/* A knob count of 128 reads 0; a key byte of 63 means no key is held. */
#define VORNSIM_REST_KNOB_COUNT 128u
#define VORNSIM_IDLE_KEY_BYTE 63u

#define VORNSIM_QUEUE_CAPACITY 4096u
#define VORNSIM_LOG_CAPACITY 32768u
/* A controller request carries a five-byte command. */
#define VORNSIM_COMMAND_LENGTH 5u
#define VORNSIM_MAX_REPLY_LENGTH 256u

typedef struct VornSimStatus {
    uint32_t protocolVersion;
    uint32_t openHandles; /* handles open on the controller device */
    uint8_t ledState;     /* byte 3 of the last LED command */
    uint8_t present;
    uint8_t padding[2];
} VornSimStatus;

typedef struct VornSimReading {
    uint8_t knobCount;
    uint8_t keyByte;
} VornSimReading;

typedef struct VornSimFailNext {
    uint8_t command;
    uint8_t padding[3];
    uint32_t count;
} VornSimFailNext;

typedef struct VornSimWrongLength {
    uint32_t count;
    uint32_t length; /* at most VORNSIM_MAX_REPLY_LENGTH */
} VornSimWrongLength;

typedef struct VornSimPresence {
    uint32_t present;
} VornSimPresence;

typedef struct VornSimLogQuery {
    uint32_t firstIndex;
} VornSimLogQuery;

typedef struct VornSimLogHeader {
    uint32_t totalEntries;   /* entries held, from index 0 */
    uint32_t droppedEntries; /* requests not logged because the log was full */
} VornSimLogHeader;

/* One request that reached the controller device. */
typedef struct VornSimLogEntry {
    uint64_t timeMicroseconds; /* performance counter at arrival, in microseconds */
    uint32_t inputLength;
    uint32_t outputCapacity;
    uint8_t command[VORNSIM_COMMAND_LENGTH]; /* the first five input bytes, zero-filled */
    uint8_t padding[3];
} VornSimLogEntry;

#ifdef __cplusplus
static_assert(sizeof(VornSimStatus) == 12 && sizeof(VornSimLogEntry) == 24,
              "layout must match between 32- and 64-bit builds");
#else
_Static_assert(sizeof(VornSimStatus) == 12 && sizeof(VornSimLogEntry) == 24,
               "layout must match between 32- and 64-bit builds");
#endif
