#pragma once

// The maker's web page; the test button asks the shell to open it. The same
// address is the test button's caption and stands in the main dialog's
// information block (see resources/corvant.rc).
constexpr const char makerWebAddress[] = "http://example.com/";
