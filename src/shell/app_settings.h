#pragma once

#include <QRect>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <string_view>

namespace oryx::settings {
class SettingValue;
class TRegistryEnhanced;
}  // namespace oryx::settings

namespace oryx::shell {

// The program's settings, kept between runs in the settings store below
// "\SOFTWARE\Corvex\ORYX\" of the local-machine root. Every value's name and
// default is spelled here and nowhere else. Reads never fail: a value that is
// missing or unreadable gives its default.
class AppSettings final {
public:
    // The number of recent-file slots ("MRU1" to "MRU13").
    static constexpr int kRecentFileSlots = 13;

    AppSettings();
    ~AppSettings();

    // "Maximized": document windows open maximized (stored 1) or not (0).
    bool OpenDocumentsMaximized();
    void StoreOpenDocumentsMaximized(bool maximized);

    // Where the main window was at the last close: "Window Left", "Window
    // Top", "Window Width" and "Window Height" (its inside in the normal
    // state, without the frame) and "Window Maximized" (1 or 0). None before
    // the first close, or when a value is missing or no number.
    struct WindowPlacement {
        QRect normal;
        bool maximized = false;
    };
    std::optional<WindowPlacement> MainWindowPlacement();
    void StoreMainWindowPlacement(const WindowPlacement& placement);

    // "View Taskbar": any number but 0 shows the taskbar; shown by default.
    bool ViewTaskbar();
    void StoreViewTaskbar(bool shown);

    // "Button Width": the taskbar buttons' width in pixels, 75 by default and
    // for an unreadable value or one outside what the options dialog accepts.
    int ButtonWidth();
    void StoreButtonWidth(int width);
    // The widths the options dialog accepts and a stored width may have.
    static constexpr int kMinButtonWidth = 20;
    static constexpr int kMaxButtonWidth = 500;
    static bool IsButtonWidth(int width) { return width >= kMinButtonWidth && width <= kMaxButtonWidth; }

    // The recent-file slots in order, an empty text for an empty slot.
    QStringList RecentFileSlots();
    // Fills the first slots with `paths` and empties the rest, so an entry
    // dropped during this run does not come back at the next start.
    void StoreRecentFiles(const QStringList& paths);

    // "Rules File": the rules the Problems list checks with, as chosen in
    // Options; empty when none was chosen.
    QString RulesFile();
    void StoreRulesFile(const QString& path);
    // The chosen rules file, or else "ORYX Rules.yaml" beside the settings
    // file when there is one; empty for none.
    QString EffectiveRulesFile();

    // Whether a write failed since the last call (the settings file could
    // not be locked or written); the answer starts afresh.
    bool TakeWriteFailure();

private:
    void Write(std::string_view name, const settings::SettingValue& value);

    std::unique_ptr<settings::TRegistryEnhanced> store_;
    bool writeFailed_ = false;
};

}  // namespace oryx::shell
