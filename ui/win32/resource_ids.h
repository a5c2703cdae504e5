#pragma once
// Identifiers of the executable's own resources; the resource script and
// the code both take them from here.
#define IDD_COMPLETION_DIALOG 102
#define IDI_APP_ICON 128
