// The application's General Options: seven values kept in the settings under "General",
// "ParamView" and "ParamPrint". Read once at start-up; all seven are written back when the
// General Options dialog is confirmed, even when nothing changed ("MRUFileCount" unchanged).
#pragma once

class QSettings;

struct GeneralOptions {
    int mruFileCount = 8;      // General/MRUFileCount
    bool showSecLvl = false;   // ParamView/ShowSecLvl: the "Sec. Lvl" column of the parameter list
    bool showUnused = false;   // ParamView/ShowUnused: kept, not used
    int textCharSet = 0;       // ParamView/TextCharSet: 0 to 4
    bool printSecLvl = false;  // ParamPrint/ShowSecLvl
    int suppressBelowLvl = 0;  // ParamPrint/SuppressBelowLvl: 0 to 2
    bool suppressUnused = false; // ParamPrint/SuppressUnused

    // Reads the seven keys; a missing key keeps its default.
    void Load(QSettings& settings);
    void Save(QSettings& settings) const;
};
