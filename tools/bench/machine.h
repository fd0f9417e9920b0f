// A line that says which machine a benchmark ran on, and when.
#pragma once

#include <string>

// Cores, processor model, kernel release and the date and time in UTC.
std::string DescribeMachine();
