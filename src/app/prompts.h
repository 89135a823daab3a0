#pragma once
// Moved; kept while builder work in progress still includes it here.
#include "platform/prompts.h"
