#include "db/tests/DbTestEnv.h"

// Registered before gtest's main runs the tests.
static ::testing::Environment* const dbTestEnvironment = ::testing::AddGlobalTestEnvironment(new DbTestEnvironment);
