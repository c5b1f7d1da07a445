#pragma once

#include "gate/gate_library.h"
#include "util/text_table.h"

#include <QCoreApplication>
#include <QString>

#include <array>
#include <optional>

namespace commands {

// The eight fields of the configuration block, in the order they travel.
enum class ConfigField {
    ReaderInventory,
    CloseReaderTime,
    StatTime,
    TagOverTime,
    TagQuietTime,
    BlockMaxStayTime,
    BackRecordConfig,
    GreenLight,
};
constexpr int kConfigFieldCount = 8;

// A field's label and the range of its list: start-up fills the numeric lists from first to
// last, and the conversions below read a selection and place a value read back by the same
// range. The lists themselves are forms::ConfigurationLists, in ConfigField order.
struct ConfigFieldInfo {
    const char* label;  // label beside the list, used when the field must be named
    int first;          // value of item 0 of a numeric list
    int last;           // value of its last item
};
const ConfigFieldInfo& ConfigFieldOf(int field);

// Value to send for a field from its list selection: the number written in the item for the
// six numeric lists, the item index for BackRecordConfig, 1 for the first GreenLight item and 0
// for the other. Nothing when the list has no selection or the item text is not a number.
std::optional<gate::Byte> ConfigValueFromSelection(int field, int index, const QString& itemText);

// List index that shows a value read back; -1 (no selection) when the value has no item.
int ConfigIndexFromValue(int field, gate::Byte value);

// Person-tag correlation.
namespace correlation {
constexpr gate::Byte kSet = 0x80;
constexpr gate::Byte kUseDefaultTimes = 0x20;
constexpr gate::Byte kEnabled = 0x08;
constexpr gate::Byte kUnique = 0x02;
constexpr gate::Byte kEarlyDetection = 0x01;
}  // namespace correlation

struct CorrelationControls {
    bool enabled = false;          // CheckBox5
    bool useDefaultTimes = false;  // CheckBox6
    bool unique = false;           // CheckBox8
    bool earlyDetection = false;   // CheckBox9
    int leadIndex = 0;             // ComboBox10
    int lagIndex = 0;              // ComboBox11
};
struct CorrelationRequest {
    gate::Byte flags = 0;
    gate::Byte lead = 0;
    gate::Byte lag = 0;
    bool operator==(const CorrelationRequest&) const = default;
};
// The set request. Nothing when its own lead and lag times are needed and a list has no
// selection.
std::optional<CorrelationRequest> CorrelationSetRequest(const CorrelationControls& c);
// The check-box states that a read-back flag byte selects (lead and lag left at 0).
CorrelationControls CorrelationFromFlags(gate::Byte flags);

// Tag-data reading settings.
namespace tagdata {
constexpr gate::Byte kSet = 0x80;
constexpr gate::Byte kReadBlocks = 0x01;
constexpr gate::Byte kReread = 0x02;
constexpr int kMaxBlocks = 6;
}  // namespace tagdata

struct TagDataControls {
    bool readBlocks = false;  // CheckBox10
    bool reread = false;      // CheckBox11
    int repeatIndex = 0;      // ComboBox12: repeat count - 1
    QString startText;        // Edit3
    QString countText;        // Edit2
};
struct TagDataRequest {
    gate::Byte flags = 0;
    gate::Byte repeat = 0;
    gate::Byte start = 0;
    gate::Byte count = 0;
    bool operator==(const TagDataRequest&) const = default;
};
struct TagDataEntry {
    enum class Error { None, EmptyEntry, NotANumber, BadCount, NoRepeat };
    Error error = Error::None;
    QString badText;  // the text that is not a number (NotANumber)
    TagDataRequest request;
};
TagDataEntry TagDataSetRequest(const TagDataControls& c);
// Repeat-list index that shows a read-back repeat count; -1 when it has no item (0 or above 5).
int TagDataRepeatIndex(gate::Byte repeat);
constexpr int kTagDataRepeatMax = 5;

// Controller address entry in hexadecimal (one or two digits).
struct AddressEntry {
    enum class Error { None, Empty, NotANumber };
    Error error = Error::None;
    gate::Byte address = 0;
};
AddressEntry AddressFromText(const QString& text);
// Two upper-case hexadecimal digits.
QString AddressText(gate::Byte address);

// The settings entries' refusals, in the console's language.
inline QString InputCaption() {
    return QCoreApplication::translate("Configuration", "提示");
}
inline QString TagDataEntryMessage() {
    return QCoreApplication::translate("Configuration", "输入数据不正确");
}
inline QString TagDataCountMessage() {
    return QCoreApplication::translate("Configuration", "块数不能为0,且不能大于6");
}
inline QString AddressEmptyMessage() {
    return QCoreApplication::translate("Configuration", "请输入新控制器地址");
}
// Refusal of a set whose list has no selection, naming the field by its label.
QString NoSelectionMessage(const QString& label);

}  // namespace commands
