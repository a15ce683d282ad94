// A configuration document: one device's configuration (the values and security levels of
// its program codes in a ConfigImage, indexed by 275 DBParams), the link settings (port and
// device address) and the connection state. Its file is the configuration data file (.qcf):
// the common 94-byte header, the link settings, one record per programmed program code and
// the end marker 53713. Loading never trusts the file: every record is bounded by the image.
#pragma once

#include "ConfigImage.h"
#include "SectionLists.h"

#include <QByteArray>
#include <QString>
#include <functional>

class UserInterface;

class CquillTrakDoc {
public:
    static constexpr int32_t kMagic = 30521;
    static constexpr int32_t kOlderMagic = 30520;
    static constexpr int32_t kEndMarker = 53713;

    // Connection states.
    enum ConnectionState { StateNone = -1, NoLink = 0, Offline = 1, ReadOnly = 2, Online = 4 };

    // Runs after File New and after a file was loaded: the device-connection layer installs
    // its Connect (with the program-mode probe) here. Without one the document stays unlinked.
    using ConnectHook = std::function<void(CquillTrakDoc&)>;
    // Runs after a save while online: the device-connection layer logs the device off.
    using LogOffHook = std::function<void(CquillTrakDoc&)>;

    CquillTrakDoc();
    CquillTrakDoc(const CquillTrakDoc&) = delete;
    CquillTrakDoc& operator=(const CquillTrakDoc&) = delete;

    // File New: empties the image and every programmed flag, port 1, device address 1, then
    // the connect hook.
    void OnNewDocument();

    // Serialised file contents. Storing never fails.
    QByteArray Store() const;
    // Loads file contents into this document. Version notices go through ui. Returns false
    // when the file is not a configuration data file or ends before its end marker; the
    // caller then discards the document and reports "Unexpected file format.". The file is
    // read into a scratch copy that is committed only on success, so a failed load leaves the
    // document exactly as it was.
    bool Load(const QByteArray& data, UserInterface& ui);

    // Saves through QSaveFile; on failure returns false and sets *error. After a successful
    // save while online the log-off hook runs.
    bool SaveFile(const QString& path, QString* error = nullptr);
    // Reads and loads a file, then runs the connect hook. On failure returns false and sets
    // *error ("Unexpected file format." for a bad file).
    bool OpenFile(const QString& path, UserInterface& ui, QString* error = nullptr);

    SectionLists& Sections() { return m_sections; }
    const SectionLists& Sections() const { return m_sections; }
    ConfigImage& Image() { return m_image; }
    const ConfigImage& Image() const { return m_image; }

    std::span<uint8_t> LocateValue(const DBParam& p) { return m_image.LocateValue(p); }
    std::span<const uint8_t> LocateValue(const DBParam& p) const { return m_image.LocateValue(p); }
    uint8_t GetSecurityLevel(const DBParam& p) const { return m_image.GetSecurityLevel(p); }
    void SetSecurityLevel(const DBParam& p, uint8_t level) { m_image.SetSecurityLevel(p, level); }

    int32_t currentSection = -1;
    int32_t port = 0;
    uint32_t deviceAddress = 0;
    int32_t connectionState = StateNone;
    int32_t reserved = 0;
    int32_t programCodeCount = 0;
    float deviceRevision = -1.0f;

    void SetConnectHook(ConnectHook hook) { m_connectHook = std::move(hook); }
    void SetLogOffHook(LogOffHook hook) { m_logOffHook = std::move(hook); }

    // The framework's share of the document: the title its frames show (the file name), the
    // modified flag, and the views, refreshed after a device operation changed values.
    QString title = QStringLiteral("Untitled");
    bool modified = false;
    void SetModifiedFlag(bool on = true) { modified = on; }
    using ViewsHook = std::function<void(CquillTrakDoc&)>;
    void SetUpdateViewsHook(ViewsHook hook) { m_viewsHook = std::move(hook); }
    void UpdateAllViews()
    {
        if (m_viewsHook)
            m_viewsHook(*this);
    }

private:
    void RunConnectHook();

    SectionLists m_sections;
    ConfigImage m_image;
    ConnectHook m_connectHook;
    LogOffHook m_logOffHook;
    ViewsHook m_viewsHook;
};
