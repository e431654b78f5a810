#pragma once

// The notification callback handed to the receiver plug-in with SetCallback.
// The plug-in may call it on the UI thread or on a thread of its own.
void __cdecl ExtIOCallback(int cnt, int status, float IQoffs, void* IQdata);

// What a notification does, on the UI thread.
void HandleExtIONotification(int status);
