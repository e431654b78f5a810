#pragma once
/* What the simulated controller answers and what it was asked: the script set
   through the control device and the request log. Every function takes the state's
   lock, so each is atomic against requests arriving on other threads. */

#include <ddk/wdm.h>

#include "../SimControlProtocol.h"

NTSTATUS SimState_Initialize(void);
void SimState_Free(void);
/* Back to the start state of the script and the log. The open-handle count and
   the presence stay: handles stay open, and the controller device owns its name. */
void SimState_Reset(void);

/* The controller side. */
void SimState_HandleOpened(void);
void SimState_HandleClosed(void);
void SimState_LogRequest(const VornSimLogEntry* entry);
BOOLEAN SimState_IsPresent(void);
/* True when the script makes this request fail; uses up one scripted failure. */
BOOLEAN SimState_TakeFailure(UCHAR command);
void SimState_SetLedState(UCHAR state);
/* The reading for this read: the next queued one, else the current one. */
VornSimReading SimState_NextReading(void);
/* True when the script gives this read reply a wrong length, stored in *length. */
BOOLEAN SimState_TakeWrongLength(ULONG* length);

/* The control side. */
void SimState_GetStatus(VornSimStatus* status);
void SimState_SetReading(VornSimReading reading);
NTSTATUS SimState_QueueReadings(const VornSimReading* readings, ULONG count);
void SimState_FailNext(UCHAR command, ULONG count);
void SimState_WrongLengthNext(ULONG count, ULONG length);
void SimState_SetPresent(BOOLEAN present);
/* Copies up to maxEntries log entries from firstIndex on; returns how many. */
ULONG SimState_ReadLog(ULONG firstIndex, VornSimLogHeader* header, VornSimLogEntry* entries,
                       ULONG maxEntries);
void SimState_ClearLog(void);
