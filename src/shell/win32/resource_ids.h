#pragma once

// Resource numbers, shared by the resource script and the code. The icon is
// the first icon group, so Explorer shows it for the executable too.
#define IDI_VANTREL 1
#define IDR_TITLE_PICTURE 101
