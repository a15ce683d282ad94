// The device's display font, bundled as a resource (DejaVu Sans Mono Bold, see
// resources/fonts/DejaVuSansMono-Bold.LICENSE). Install adds it to the application's fonts and
// makes every face name the editors ask for ("VGI Bold", "VGI Small", the character-set faces
// ...) resolve to its family; Remove undoes both. The application installs it at start-up and
// removes it at exit.
//
// Invariants: Remove after a successful Install leaves no substitution and no added font; both
// are safe to call more than once.
#pragma once

#include <QString>
#include <QStringList>

class CDeviceFont {
public:
    CDeviceFont() = default;
    ~CDeviceFont() { Remove(); }
    CDeviceFont(const CDeviceFont&) = delete;
    CDeviceFont& operator=(const CDeviceFont&) = delete;

    // The face names of the device font as the editors and dialogs create their fonts.
    static QStringList FaceNames();

    // Adds the bundled font and the substitutions; false when the font could not be loaded.
    bool Install();
    void Remove();

    // The family of the bundled font, empty until installed.
    QString Family() const { return m_family; }

private:
    int m_fontId = -1;
    QString m_family;
};
