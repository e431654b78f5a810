#include "SimState.h"

#define COMMAND_CODES 256

typedef struct SimState {
    KSPIN_LOCK lock;
    ULONG openHandles;
    BOOLEAN present;
    UCHAR ledState;
    VornSimReading current;
    VornSimReading queue[VORNSIM_QUEUE_CAPACITY];
    ULONG queueHead;
    ULONG queueCount;
    ULONG failuresLeft[COMMAND_CODES];
    ULONG wrongLengthsLeft;
    ULONG wrongLength;
    ULONG logCount;
    ULONG logDropped;
    VornSimLogEntry log[VORNSIM_LOG_CAPACITY];
} SimState;

/* Held in pool memory: the log is too large for the driver image. */
static SimState* state;

/* "Vsim" read backwards in a memory dump, as pool tags are. */
#define POOL_TAG 0x6D697356u

/* Everything but the lock, the open handles and the presence, which outlive a
   reset. Called with the lock held (or before anyone else can reach the state). */
static void ResetScript(void)
{
    state->ledState = 0;
    state->current.knobCount = VORNSIM_REST_KNOB_COUNT;
    state->current.keyByte = VORNSIM_IDLE_KEY_BYTE;
    state->queueHead = 0;
    state->queueCount = 0;
    RtlZeroMemory(state->failuresLeft, sizeof state->failuresLeft);
    state->wrongLengthsLeft = 0;
    state->wrongLength = 0;
    state->logCount = 0;
    state->logDropped = 0;
}

NTSTATUS SimState_Initialize(void)
{
    state = ExAllocatePoolWithTag(NonPagedPool, sizeof *state, POOL_TAG);
    if (state == NULL) {
        return STATUS_INSUFFICIENT_RESOURCES;
    }
    KeInitializeSpinLock(&state->lock);
    state->openHandles = 0;
    /* The controller's name does not exist until the controller device creates it. */
    state->present = FALSE;
    ResetScript();
    return STATUS_SUCCESS;
}

void SimState_Free(void)
{
    ExFreePoolWithTag(state, POOL_TAG);
    state = NULL;
}

void SimState_Reset(void)
{
    KIRQL irql;
    KeAcquireSpinLock(&state->lock, &irql);
    ResetScript();
    KeReleaseSpinLock(&state->lock, irql);
}

void SimState_HandleOpened(void)
{
    KIRQL irql;
    KeAcquireSpinLock(&state->lock, &irql);
    ++state->openHandles;
    KeReleaseSpinLock(&state->lock, irql);
}

void SimState_HandleClosed(void)
{
    KIRQL irql;
    KeAcquireSpinLock(&state->lock, &irql);
    --state->openHandles;
    KeReleaseSpinLock(&state->lock, irql);
}

void SimState_LogRequest(const VornSimLogEntry* entry)
{
    KIRQL irql;
    KeAcquireSpinLock(&state->lock, &irql);
    if (state->logCount < VORNSIM_LOG_CAPACITY) {
        state->log[state->logCount++] = *entry;
    } else {
        ++state->logDropped;
    }
    KeReleaseSpinLock(&state->lock, irql);
}

BOOLEAN SimState_IsPresent(void)
{
    KIRQL irql;
    BOOLEAN present;
    KeAcquireSpinLock(&state->lock, &irql);
    present = state->present;
    KeReleaseSpinLock(&state->lock, irql);
    return present;
}

BOOLEAN SimState_TakeFailure(UCHAR command)
{
    KIRQL irql;
    BOOLEAN fail = FALSE;
    KeAcquireSpinLock(&state->lock, &irql);
    if (state->failuresLeft[command] > 0) {
        --state->failuresLeft[command];
        fail = TRUE;
    }
    KeReleaseSpinLock(&state->lock, irql);
    return fail;
}

void SimState_SetLedState(UCHAR ledState)
{
    KIRQL irql;
    KeAcquireSpinLock(&state->lock, &irql);
    state->ledState = ledState;
    KeReleaseSpinLock(&state->lock, irql);
}

VornSimReading SimState_NextReading(void)
{
    KIRQL irql;
    VornSimReading reading;
    KeAcquireSpinLock(&state->lock, &irql);
    if (state->queueCount > 0) {
        /* A queued reading becomes the current one: the knob stays where the
           script left it. */
        state->current = state->queue[state->queueHead];
        state->queueHead = (state->queueHead + 1) % VORNSIM_QUEUE_CAPACITY;
        --state->queueCount;
    }
    reading = state->current;
    KeReleaseSpinLock(&state->lock, irql);
    return reading;
}

BOOLEAN SimState_TakeWrongLength(ULONG* length)
{
    KIRQL irql;
    BOOLEAN wrong = FALSE;
    KeAcquireSpinLock(&state->lock, &irql);
    if (state->wrongLengthsLeft > 0) {
        --state->wrongLengthsLeft;
        *length = state->wrongLength;
        wrong = TRUE;
    }
    KeReleaseSpinLock(&state->lock, irql);
    return wrong;
}

void SimState_GetStatus(VornSimStatus* status)
{
    KIRQL irql;
    RtlZeroMemory(status, sizeof *status);
    status->protocolVersion = VORNSIM_PROTOCOL_VERSION;
    KeAcquireSpinLock(&state->lock, &irql);
    status->openHandles = state->openHandles;
    status->ledState = state->ledState;
    status->present = state->present;
    KeReleaseSpinLock(&state->lock, irql);
}

void SimState_SetReading(VornSimReading reading)
{
    KIRQL irql;
    KeAcquireSpinLock(&state->lock, &irql);
    state->current = reading;
    state->queueCount = 0;
    KeReleaseSpinLock(&state->lock, irql);
}

NTSTATUS SimState_QueueReadings(const VornSimReading* readings, ULONG count)
{
    KIRQL irql;
    NTSTATUS status = STATUS_SUCCESS;
    ULONG i;
    KeAcquireSpinLock(&state->lock, &irql);
    if (count > VORNSIM_QUEUE_CAPACITY - state->queueCount) {
        /* All or nothing: a half-queued script would mislead the test. */
        status = STATUS_INSUFFICIENT_RESOURCES;
    } else {
        for (i = 0; i < count; ++i) {
            state->queue[(state->queueHead + state->queueCount) % VORNSIM_QUEUE_CAPACITY] = readings[i];
            ++state->queueCount;
        }
    }
    KeReleaseSpinLock(&state->lock, irql);
    return status;
}

void SimState_FailNext(UCHAR command, ULONG count)
{
    KIRQL irql;
    KeAcquireSpinLock(&state->lock, &irql);
    state->failuresLeft[command] = count;
    KeReleaseSpinLock(&state->lock, irql);
}

void SimState_WrongLengthNext(ULONG count, ULONG length)
{
    KIRQL irql;
    KeAcquireSpinLock(&state->lock, &irql);
    state->wrongLengthsLeft = count;
    state->wrongLength = length;
    KeReleaseSpinLock(&state->lock, irql);
}

void SimState_SetPresent(BOOLEAN present)
{
    KIRQL irql;
    KeAcquireSpinLock(&state->lock, &irql);
    state->present = present;
    KeReleaseSpinLock(&state->lock, irql);
}

ULONG SimState_ReadLog(ULONG firstIndex, VornSimLogHeader* header, VornSimLogEntry* entries,
                       ULONG maxEntries)
{
    KIRQL irql;
    ULONG copied = 0;
    KeAcquireSpinLock(&state->lock, &irql);
    header->totalEntries = state->logCount;
    header->droppedEntries = state->logDropped;
    if (firstIndex < state->logCount) {
        copied = state->logCount - firstIndex;
        if (copied > maxEntries) {
            copied = maxEntries;
        }
        RtlCopyMemory(entries, &state->log[firstIndex], copied * sizeof *entries);
    }
    KeReleaseSpinLock(&state->lock, irql);
    return copied;
}

void SimState_ClearLog(void)
{
    KIRQL irql;
    KeAcquireSpinLock(&state->lock, &irql);
    state->logCount = 0;
    state->logDropped = 0;
    KeReleaseSpinLock(&state->lock, irql);
}
