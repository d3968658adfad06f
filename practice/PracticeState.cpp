#include "practice/PracticeState.h"

TPracticeState PracticeState;
