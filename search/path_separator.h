#pragma once

// The separator the platform puts between a directory and a name.
extern const char pathSeparator;
