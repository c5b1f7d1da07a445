#pragma once

#include <array>

namespace app {

// The 36 buttons that are enabled exactly while a controller connection is open, in the order
// a successful open enables them. The IF2 buttons are set after the first
// kCommandControlsIF2Split of them (after Btn_GetIRStatus, before btnGetReaderStatus).
inline constexpr std::array<const char*, 36> kCommandControls = {"Btn_GetControllerInfo",
                                                                 "SetRealy",
                                                                 "ClockCMD",
                                                                 "Btn_ClearBuffer",
                                                                 "ControllerInfo",
                                                                 "GetBackRecorfStatus",
                                                                 "Btn_DeleteAllRecord",
                                                                 "SearchInRecord",
                                                                 "GetFirstRecordAndDel",
                                                                 "GetFirstRecord",
                                                                 "SaveRecordAsTextFile",
                                                                 "SaveAndDeleteAll",
                                                                 "LEDAndBuzTest",
                                                                 "GetTagData",
                                                                 "CloseIR",
                                                                 "OpenIR",
                                                                 "Btn_GetIRStatus",
                                                                 "btnGetReaderStatus",
                                                                 "Button1",
                                                                 "Button2",
                                                                 "Button3",
                                                                 "Button4",
                                                                 "Button5",
                                                                 "Button6",
                                                                 "Button7",
                                                                 "Button9",
                                                                 "Button10",
                                                                 "Button16",
                                                                 "Button17",
                                                                 "Button8",
                                                                 "Button11",
                                                                 "Button12",
                                                                 "btnSetBackRecord",
                                                                 "btnReadBackRecord",
                                                                 "btnSetControAddr",
                                                                 "btnGetControAddr"};

// Number of command controls enabled before the IF2 buttons are set.
inline constexpr int kCommandControlsIF2Split = 17;

}  // namespace app
