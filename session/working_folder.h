// Choosing the working folder from the main dialog (see working_folder.cpp).
#pragma once
#include <string_view>

// Validates text and makes it the working folder. Returns 0, -1 after a
// refusal the user was told about, or a negative error code (reported).
int set_working_directory(std::string_view text);
