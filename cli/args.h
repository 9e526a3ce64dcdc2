// kelvox-cli's commands read their words with the option parser the window uses too.
#pragma once

#include "options/args.h"
