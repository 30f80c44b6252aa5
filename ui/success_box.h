#pragma once

// Tells the user that the associations were written. Where a per-user choice
// of Windows still sends one of the written names elsewhere, the box says so
// and offers to open the Default apps page of Settings; where the account's
// own class keys do, it says where they are.
void showSuccessBox();
