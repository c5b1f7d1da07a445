#include "forms/command_controls.h"

#include "ui_page_alarm.h"
#include "ui_page_channel.h"
#include "ui_page_command.h"

namespace forms {

CommandControlList CommandControls(const Ui::PageCommand& command, const Ui::PageChannel& channel,
                                   const Ui::PageAlarm& alarm) {
    return {command.Btn_GetControllerInfo,
            command.SetRealy,
            command.ClockCMD,
            command.Btn_ClearBuffer,
            command.ControllerInfo,
            command.GetBackRecorfStatus,
            command.Btn_DeleteAllRecord,
            command.SearchInRecord,
            command.GetFirstRecordAndDel,
            command.GetFirstRecord,
            command.SaveRecordAsTextFile,
            command.SaveAndDeleteAll,
            command.LEDAndBuzTest,
            channel.GetTagData,
            command.CloseIR,
            command.OpenIR,
            command.Btn_GetIRStatus,
            command.btnGetReaderStatus,
            command.Button1,
            command.Button2,
            command.Button3,
            command.Button4,
            command.Button5,
            command.Button6,
            command.Button7,
            command.Button9,
            command.Button10,
            command.Button16,
            command.Button17,
            command.Button8,
            alarm.Button11,
            alarm.Button12,
            command.btnSetBackRecord,
            command.btnReadBackRecord,
            command.btnSetControAddr,
            command.btnGetControAddr};
}

}  // namespace forms
