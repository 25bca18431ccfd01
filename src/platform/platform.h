// The only door to the operating system. Everything here is declared in portable types and defined
// twice: in win32/ with the real calls, and in posix/ as the stand-in of the workbench build.
//
// Paths travel as UTF-8 in Windows form ("C:\Docs\a.txt"). The win32 side converts them to UTF-16 and
// adds the \\?\ prefix where a path is long; the posix side maps drive letters through a drive table.
#pragma once

// Each door of the seam has a header of its own, named for the service it opens.
#include "platform/browser.h"
#include "platform/files.h"
#include "platform/process.h"
#include "platform/registry.h"
#include "platform/shell.h"
