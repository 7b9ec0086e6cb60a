#include "FuzzChecks.h"

TREVOLO_FUZZ_TARGET(trevolo::fuzz::SpinImport)
