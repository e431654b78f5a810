#pragma once
#define IDI_TARVO 1
