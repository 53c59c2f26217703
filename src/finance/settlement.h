// The month-end settlement and awards.
#pragma once

// The whole month end; called once per month change.
void settle_monthly();
