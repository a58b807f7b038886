#pragma once
// Where each value of Settings.ini lives. The main window's load and save and the console
// tool's scan read and write these rows only, so that a key cannot be spelt two ways.
#include <string>

namespace zorvik {

struct SettingsKey {
    std::string section;
    std::string key;
};

// One value per trusted program; the keys are only counters, read in file order.
inline const std::string kTrustedSection = "Trusted";

inline const std::string kAutoScanSection = "AutoScan";
inline const std::string kGuiSection = "GUI";
inline const std::string kCoreSection = "Core";

inline const SettingsKey kAutoScanEnabledSetting{kAutoScanSection, "Enabled"};
// Seconds, kept as the Options window's box shows them, empty included.
inline const SettingsKey kAutoScanIntervalSetting{kAutoScanSection, "Interval"};
// "Minimize on Close".
inline const SettingsKey kMinimiseOnCloseSetting{kGuiSection, "Close"};
inline const SettingsKey kMainWidthSetting{kGuiSection, "frmMainWidth"};
inline const SettingsKey kMainHeightSetting{kGuiSection, "frmMainHeight"};
inline const SettingsKey kMainZoomedSetting{kGuiSection, "Zoomed"};
inline const SettingsKey kTrustHeightSetting{kGuiSection, "frmTrustHeight"};
inline const SettingsKey kTrustWidthSetting{kGuiSection, "frmTrustWidth"};
// How each list of the main window is sorted: the column's number from 1, negative when
// reversed; 0 or none for the scan's own order.
inline const SettingsKey kProcessSortSetting{kGuiSection, "LstProcSort"};
inline const SettingsKey kStartupSortSetting{kGuiSection, "LstStartSort"};
// Each list's column widths in pixels, comma-separated in column order.
inline const SettingsKey kProcessWidthsSetting{kGuiSection, "LstProcWidths"};
inline const SettingsKey kStartupWidthsSetting{kGuiSection, "LstStartWidths"};
// "Ignore Safe Start ups".
inline const SettingsKey kIgnoreSafeSetting{kCoreSection, "IgnoreSafe"};
// "Watch Start up places".
inline const SettingsKey kWatchPlacesSetting{kCoreSection, "WatchPlaces"};
// "Hide Windows' own and verified programs".
inline const SettingsKey kHideVerifiedSetting{kCoreSection, "HideVerified"};
// Whether the close-to-tray notice is still wanted; only ever written off.
inline const SettingsKey kCloseTipSetting{kCoreSection, "CloseTip"};

}  // namespace zorvik
