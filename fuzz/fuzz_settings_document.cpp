// Settings files as anyone may hand them to gatectl settings restore or diff: any bytes. The
// reader either refuses them naming what is wrong, or gives a document that, written again,
// reads back the same and differs from itself in nothing.
#include "core/commands/settings_diff.h"
#include "core/commands/settings_document.h"
#include "fuzz_bytes.h"
#include "fuzz_check.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto copy = ExactCopy(data, size);
    const QByteArrayView bytes(reinterpret_cast<const char*>(copy.get()),
                               static_cast<qsizetype>(size));
    QString error;
    const auto document = commands::ReadSettingsDocument(bytes, &error);
    if (!document) {
        FUZZ_CHECK(!error.isEmpty());
        return 0;
    }
    FUZZ_CHECK(document->formatVersion == commands::SettingsDocument::kFormatVersion);
    QString again;
    const auto back =
        commands::ReadSettingsDocument(commands::WriteSettingsDocument(*document), &again);
    FUZZ_CHECK(back.has_value());
    FUZZ_CHECK(back->settings == document->settings);
    FUZZ_CHECK(back->notRead == document->notRead);
    FUZZ_CHECK(back->controller == document->controller);
    FUZZ_CHECK(commands::DiffSettings(document->settings, document->settings).isEmpty());
    return 0;
}
