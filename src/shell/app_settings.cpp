#include "shell/app_settings.h"

#include <QFile>

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "settings/registry.h"
#include "settings/registry_enhanced.h"

namespace oryx::shell {

namespace {

constexpr auto kMaximized = "Maximized";
constexpr auto kViewTaskbar = "View Taskbar";
constexpr auto kButtonWidth = "Button Width";
constexpr int kDefaultButtonWidth = 75;
constexpr auto kWindowLeft = "Window Left";
constexpr auto kWindowTop = "Window Top";
constexpr auto kWindowWidth = "Window Width";
constexpr auto kWindowHeight = "Window Height";
constexpr auto kWindowMaximized = "Window Maximized";
constexpr auto kRulesFile = "Rules File";
constexpr auto kDefaultRulesFileName = "ORYX Rules.yaml";

std::string RecentFileSlot(int number) { return "MRU" + std::to_string(number); }

// A stored value as a number: integers as they are, text when it holds one.
std::optional<qint32> StoredNumber(const settings::SettingValue& value) {
    if (value.IsInteger()) return value.AsInteger();
    if (value.IsString()) {
        bool ok = false;
        const qint32 number = QString::fromStdString(value.AsString()).toInt(&ok, 10);
        if (ok) return number;
    }
    return std::nullopt;
}

}  // namespace

AppSettings::AppSettings() : store_(std::make_unique<settings::TRegistryEnhanced>()) {
    store_->RootKey = settings::TRootKey::hkLocalMachine;
    store_->Key = "\\SOFTWARE\\Corvex\\ORYX\\";
}

AppSettings::~AppSettings() = default;

void AppSettings::Write(std::string_view name, const settings::SettingValue& value) {
    if (!store_->WriteValue(name, value)) writeFailed_ = true;
}

bool AppSettings::TakeWriteFailure() { return std::exchange(writeFailed_, false); }

bool AppSettings::OpenDocumentsMaximized() {
    const settings::SettingValue value = store_->ReadValue(kMaximized, 0);
    return value.IsInteger() && value.AsInteger() == 1;
}

void AppSettings::StoreOpenDocumentsMaximized(bool maximized) { Write(kMaximized, maximized ? 1 : 0); }

std::optional<AppSettings::WindowPlacement> AppSettings::MainWindowPlacement() {
    const auto number = [this](const char* name) { return StoredNumber(store_->ReadValue(name, "")); };
    const auto left = number(kWindowLeft), top = number(kWindowTop);
    const auto width = number(kWindowWidth), height = number(kWindowHeight);
    if (!left || !top || !width || !height || *width <= 0 || *height <= 0) return std::nullopt;
    return WindowPlacement{QRect(*left, *top, *width, *height), number(kWindowMaximized).value_or(0) == 1};
}

void AppSettings::StoreMainWindowPlacement(const WindowPlacement& placement) {
    Write(kWindowLeft, placement.normal.left());
    Write(kWindowTop, placement.normal.top());
    Write(kWindowWidth, placement.normal.width());
    Write(kWindowHeight, placement.normal.height());
    Write(kWindowMaximized, placement.maximized ? 1 : 0);
}

bool AppSettings::ViewTaskbar() { return StoredNumber(store_->ReadValue(kViewTaskbar, 1)).value_or(1) != 0; }

void AppSettings::StoreViewTaskbar(bool shown) { Write(kViewTaskbar, shown); }

int AppSettings::ButtonWidth() {
    const std::optional<qint32> width = StoredNumber(store_->ReadValue(kButtonWidth, kDefaultButtonWidth));
    return width && IsButtonWidth(*width) ? *width : kDefaultButtonWidth;
}

void AppSettings::StoreButtonWidth(int width) { Write(kButtonWidth, width); }

QStringList AppSettings::RecentFileSlots() {
    QStringList paths;
    for (int n = 1; n <= kRecentFileSlots; ++n) {
        const settings::SettingValue value = store_->ReadValue(RecentFileSlot(n), "");
        paths << (value.IsInteger()  ? QString::number(value.AsInteger())
                  : value.IsString() ? QFile::decodeName(QByteArray::fromStdString(value.AsString()))
                                     : QString());
    }
    return paths;
}

void AppSettings::StoreRecentFiles(const QStringList& paths) {
    const int count = static_cast<int>(std::min<qsizetype>(paths.size(), kRecentFileSlots));
    for (int n = 1; n <= count; ++n) Write(RecentFileSlot(n), QFile::encodeName(paths[n - 1]).toStdString());
    for (int n = count + 1; n <= kRecentFileSlots; ++n)
        if (store_->ReadValue(RecentFileSlot(n), "") != settings::SettingValue("")) Write(RecentFileSlot(n), "");
}

QString AppSettings::RulesFile() {
    const settings::SettingValue value = store_->ReadValue(kRulesFile, "");
    return value.IsString() ? QFile::decodeName(QByteArray::fromStdString(value.AsString())) : QString();
}

void AppSettings::StoreRulesFile(const QString& path) {
    if (path != RulesFile()) Write(kRulesFile, QFile::encodeName(path).toStdString());
}

QString AppSettings::EffectiveRulesFile() {
    if (QString chosen = RulesFile(); !chosen.isEmpty()) return chosen;
    const std::filesystem::path settingsFile = settings::Registry::RootFile(settings::TRootKey::hkLocalMachine);
    if (settingsFile.empty()) return {};
    const QString beside =
        QFile::decodeName(QByteArray::fromStdString((settingsFile.parent_path() / kDefaultRulesFileName).string()));
    return QFile::exists(beside) ? beside : QString();
}

}  // namespace oryx::shell
