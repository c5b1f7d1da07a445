#include "core/commands/config_values.h"

#include "core/commands/device_values.h"
#include "util/digit_checks.h"

#include <QCoreApplication>

namespace commands {

namespace {
constexpr std::array<ConfigFieldInfo, kConfigFieldCount> kFields{{
    {QT_TRANSLATE_NOOP("Configuration", "读写器询查最大时间"), 30, 255},
    {QT_TRANSLATE_NOOP("Configuration", "关闭读写器时间"), 0, 255},
    {QT_TRANSLATE_NOOP("Configuration", "统计数据时间"), 3, 255},
    {QT_TRANSLATE_NOOP("Configuration", "卡片超时时间"), 1, 15},
    {QT_TRANSLATE_NOOP("Configuration", "卡片静默时间"), 1, 15},
    {QT_TRANSLATE_NOOP("Configuration", "障碍物最大停留时间"), 3, 255},
    {QT_TRANSLATE_NOOP("Configuration", "后台记录数据配置"), 0, 1},
    {QT_TRANSLATE_NOOP("Configuration", "绿灯提示"), 0, 1},
}};

constexpr int kBackRecord = static_cast<int>(ConfigField::BackRecordConfig);
constexpr int kGreenLight = static_cast<int>(ConfigField::GreenLight);
}  // namespace

const ConfigFieldInfo& ConfigFieldOf(int field) {
    return kFields.at(static_cast<std::size_t>(field));
}

std::optional<gate::Byte> ConfigValueFromSelection(int field, int index, const QString& itemText) {
    if (index < 0) {
        return std::nullopt;
    }
    if (field == kBackRecord) {
        return static_cast<gate::Byte>(index);
    }
    if (field == kGreenLight) {
        return static_cast<gate::Byte>(index == 0 ? 1 : 0);
    }
    const auto value = ParseDigits(itemText);
    if (!value || *value > 255) {
        return std::nullopt;
    }
    return static_cast<gate::Byte>(*value);
}

int ConfigIndexFromValue(int field, gate::Byte value) {
    if (field == kBackRecord) {
        return value != 0 ? 1 : 0;
    }
    if (field == kGreenLight) {
        return value != 0 ? 0 : 1;  // "启用" is the first item
    }
    const ConfigFieldInfo& f = ConfigFieldOf(field);
    if (value < f.first || value > f.last) {
        return -1;
    }
    return value - f.first;
}

std::optional<CorrelationRequest> CorrelationSetRequest(const CorrelationControls& c) {
    CorrelationRequest r{correlation::kSet, 0, 0};
    if (!c.enabled) {
        return r;
    }
    r.flags |= correlation::kEnabled;
    if (c.useDefaultTimes) {
        r.flags |= correlation::kUseDefaultTimes;
    } else {
        if (c.leadIndex < 0 || c.lagIndex < 0) {
            return std::nullopt;
        }
        r.lead = static_cast<gate::Byte>(c.leadIndex);
        r.lag = static_cast<gate::Byte>(c.lagIndex);
    }
    if (c.unique) {
        r.flags |= correlation::kUnique;
    }
    if (c.earlyDetection) {
        r.flags |= correlation::kEarlyDetection;
    }
    return r;
}

CorrelationControls CorrelationFromFlags(gate::Byte flags) {
    CorrelationControls c;
    c.enabled = (flags & correlation::kEnabled) != 0;
    c.useDefaultTimes = (flags & correlation::kUseDefaultTimes) != 0;
    c.unique = (flags & correlation::kUnique) != 0;
    c.earlyDetection = (flags & correlation::kEarlyDetection) != 0;
    return c;
}

TagDataEntry TagDataSetRequest(const TagDataControls& c) {
    TagDataEntry e;
    if (!c.readBlocks) {
        e.request.flags = tagdata::kSet;
    } else {
        e.request.flags = tagdata::kSet | tagdata::kReadBlocks;
        if (c.startText.isEmpty() || c.countText.isEmpty()) {
            e.error = TagDataEntry::Error::EmptyEntry;
            return e;
        }
        if (c.repeatIndex < 0 || c.repeatIndex >= kTagDataRepeatMax) {
            e.error = TagDataEntry::Error::NoRepeat;
            return e;
        }
        for (const QString* t : {&c.startText, &c.countText}) {
            const auto v = ParseDigits(*t);
            if (!v || *v > 255) {
                e.error = TagDataEntry::Error::NotANumber;
                e.badText = *t;
                return e;
            }
        }
        e.request.repeat = static_cast<gate::Byte>(c.repeatIndex + 1);
        e.request.start = static_cast<gate::Byte>(*ParseDigits(c.startText));
        const int count = *ParseDigits(c.countText);
        if (count == 0 || count > tagdata::kMaxBlocks) {
            e.error = TagDataEntry::Error::BadCount;
            return e;
        }
        e.request.count = static_cast<gate::Byte>(count);
    }
    if (c.reread) {
        e.request.flags |= tagdata::kReread;
    }
    return e;
}

int TagDataRepeatIndex(gate::Byte repeat) {
    if (repeat < 1 || repeat > kTagDataRepeatMax) {
        return -1;
    }
    return repeat - 1;
}

AddressEntry AddressFromText(const QString& text) {
    AddressEntry e;
    if (text.isEmpty()) {
        e.error = AddressEntry::Error::Empty;
        return e;
    }
    bool ok = false;
    const uint value = text.toUInt(&ok, 16);
    if (!ok || text.size() > 2 || !util::CheckHexStr(text)) {
        e.error = AddressEntry::Error::NotANumber;
        return e;
    }
    e.address = static_cast<gate::Byte>(value);
    return e;
}

QString AddressText(gate::Byte address) {
    return QStringLiteral("%1").arg(address, 2, 16, QLatin1Char('0')).toUpper();
}

QString NoSelectionMessage(const QString& label) {
    return QCoreApplication::translate("Configuration", "请先在“%1”中选择一个数值").arg(label);
}

}  // namespace commands
