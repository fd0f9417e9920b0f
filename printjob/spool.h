#pragma once

#include "platform/win32.h"

// Removes the previous spool file. FALSE when one is still there afterwards
// (another program holds it): a new document written now would land behind it.
BOOL StartSpoolFile();

// Appends one chunk to the spool file, opening and closing it for this chunk
// alone. FALSE when not every byte reached the file.
BOOL AppendToSpoolFile(const void* pData, UINT32 dataLength);

// Asks the shell to print the spool file and returns without waiting.
void PrintSpoolFile();
