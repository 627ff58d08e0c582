// Start-up and shut-down of the library's units, from one place instead of static constructors.
#pragma once

// Starts the system adapters (optional system functions), then the general utilities (screen
// format, processor features), then selects the bitmap kernels, which need both. Call it once on
// the main thread before the library is used; later calls do nothing until QvLibraryFinalize.
void QvLibraryInitialize();
// The reverse: frees the list of live bitmaps, then shuts the utilities and the system adapters
// down. Does nothing unless the library was initialised.
void QvLibraryFinalize();
