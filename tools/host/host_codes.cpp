#include "tools/host/host_codes.h"

const char* ResultCodeName(UINT code) {
  switch (code) {
    case CHANNEL_RC_OK:
      return "CHANNEL_RC_OK";
    case CHANNEL_RC_ALREADY_INITIALIZED:
      return "CHANNEL_RC_ALREADY_INITIALIZED";
    case CHANNEL_RC_NOT_INITIALIZED:
      return "CHANNEL_RC_NOT_INITIALIZED";
    case CHANNEL_RC_ALREADY_CONNECTED:
      return "CHANNEL_RC_ALREADY_CONNECTED";
    case CHANNEL_RC_NOT_CONNECTED:
      return "CHANNEL_RC_NOT_CONNECTED";
    case CHANNEL_RC_TOO_MANY_CHANNELS:
      return "CHANNEL_RC_TOO_MANY_CHANNELS";
    case CHANNEL_RC_BAD_CHANNEL:
      return "CHANNEL_RC_BAD_CHANNEL";
    case CHANNEL_RC_BAD_CHANNEL_HANDLE:
      return "CHANNEL_RC_BAD_CHANNEL_HANDLE";
    case CHANNEL_RC_NO_BUFFER:
      return "CHANNEL_RC_NO_BUFFER";
    case CHANNEL_RC_BAD_INIT_HANDLE:
      return "CHANNEL_RC_BAD_INIT_HANDLE";
    case CHANNEL_RC_NOT_OPEN:
      return "CHANNEL_RC_NOT_OPEN";
    case CHANNEL_RC_BAD_PROC:
      return "CHANNEL_RC_BAD_PROC";
    case CHANNEL_RC_NO_MEMORY:
      return "CHANNEL_RC_NO_MEMORY";
    case CHANNEL_RC_UNKNOWN_CHANNEL_NAME:
      return "CHANNEL_RC_UNKNOWN_CHANNEL_NAME";
    case CHANNEL_RC_ALREADY_OPEN:
      return "CHANNEL_RC_ALREADY_OPEN";
    case CHANNEL_RC_NOT_IN_VIRTUALCHANNELENTRY:
      return "CHANNEL_RC_NOT_IN_VIRTUALCHANNELENTRY";
    case CHANNEL_RC_NULL_DATA:
      return "CHANNEL_RC_NULL_DATA";
    case CHANNEL_RC_ZERO_LENGTH:
      return "CHANNEL_RC_ZERO_LENGTH";
    default:
      return "a code of the host's choosing";
  }
}

const char* InitEventName(UINT event) {
  switch (event) {
    case CHANNEL_EVENT_INITIALIZED:
      return "CHANNEL_EVENT_INITIALIZED";
    case CHANNEL_EVENT_CONNECTED:
      return "CHANNEL_EVENT_CONNECTED";
    case CHANNEL_EVENT_V1_CONNECTED:
      return "CHANNEL_EVENT_V1_CONNECTED";
    case CHANNEL_EVENT_DISCONNECTED:
      return "CHANNEL_EVENT_DISCONNECTED";
    case CHANNEL_EVENT_TERMINATED:
      return "CHANNEL_EVENT_TERMINATED";
    default:
      return "an unknown event";
  }
}
