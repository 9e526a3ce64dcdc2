// Reading a whole file from an open descriptor lives in files/read_file.h; this name is kept
// for the access methods that include it from here.
#pragma once

#include "files/read_file.h"
