// The printer link's error codes, which the link and its query objects both record: a leaf,
// so that neither needs the other's header for them.
#pragma once

#include <windows.h>

// Error codes recorded in m_nError; never shown to the user.
enum BidiError : LONG {
    BIDI_OK = 0,
    BIDI_ERR_LOAD = 1,
    BIDI_ERR_NO_INITIALIZE = 2,
    BIDI_ERR_NO_RELEASE = 3,
    BIDI_ERR_NO_GET_DEVICE_ID = 4,
    BIDI_ERR_NO_GET_AVAILABLE_CHANNEL = 5,
    BIDI_ERR_NO_OPEN_CHANNEL = 6,
    BIDI_ERR_NO_CLOSE_CHANNEL = 7,
    BIDI_ERR_NO_SEND = 8,
    BIDI_ERR_NO_RECEIVE = 9,
    BIDI_ERR_NO_GET_STATUS = 10,
    BIDI_ERR_NO_RECEIVE_CANCEL = 11,
    BIDI_ERR_NO_SET_OPTION = 12,
    BIDI_ERR_NO_GET_OPTION = 13,
    BIDI_ERR_CHANNEL_UNAVAILABLE = 14,
    BIDI_ERR_GET_DEVICE_ID = 15,
    BIDI_ERR_OPEN_CHANNEL = 16,
    BIDI_ERR_CLOSE_CHANNEL = 17,
    BIDI_ERR_GET_AVAILABLE_CHANNEL = 18,
    BIDI_ERR_GET_STATUS = 19,
};
