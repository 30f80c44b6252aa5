#pragma once

// Tells the user that the associations were written.
void showSuccessBox();
