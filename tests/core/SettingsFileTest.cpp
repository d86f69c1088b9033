#include "settings/SettingsFile.h"
#include <gtest/gtest.h>
TEST(SettingsFile, Placeholder) {}
