#pragma once

// The recording prompts service lives beside the data API it stands in for.

#include "data/testing/RecordingPrompts.h"
