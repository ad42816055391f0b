#include "symbology.h"
#include <gtest/gtest.h>
