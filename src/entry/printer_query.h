// The printer query's decisions: whether the connected printer is the caller's model, and
// which status channel to ask for the options on this system. The texts themselves are
// read by printer_data.h.
#pragma once

#include "model/option_info.h"

// Channel keys of the printer's status channels.
const DWORD CHANNEL_KEY_PRIMARY = 0x10010003;
const DWORD CHANNEL_KEY_FALLBACK = 0x10000003;

// 1 when equal ignoring case; otherwise tells the user, where a user can see the process's
// windows, and returns 0.
BOOL CheckModel(LPCSTR pszCallerModel, LPCSTR pszPrinterModel);

// Reads the status bytes of the channel that this system uses and interprets them into
// the record, whose three flags say what to read; 1 when every asked field was read.
BOOL ReadDeviceOptions(LPCSTR pszPrinterName, OptionInfo &info);

// How ReadDeviceOptions asks for the status on a system version code.
enum ChannelPlan {
    CHANNEL_PLAN_FAIL,     // the options cannot be read on this system
    CHANNEL_PLAN_NONE,     // no channel is asked; the empty reply is interpreted
    CHANNEL_PLAN_PRIMARY,  // the primary key, then the fallback key if it is unavailable
    CHANNEL_PLAN_FALLBACK, // the fallback key only
};
// Codes outside the table (a system without a code) cannot read the options.
ChannelPlan ChannelPlanFor(LONG nSystemVersionCode);
