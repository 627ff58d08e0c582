// Internal to Qv_utils: start-up steps of its parts.
#pragma once

// Remembers HasMMX for EMMS.
void StartupProcessor();
