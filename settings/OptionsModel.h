#pragma once
// The option values of the options dialog, by control name. Every part of the program reads
// an option from here at the moment it needs it; the dialog's controls show and edit these
// values. The "Options" section of the settings file stores them: first the control
// properties (one "Control_Property" key each, in the order below, which is the file's),
// then the stored values: the list positions (-1 for no selection; the lists keep their
// entry order because the positions are file format), the enciphered proxy password
// "Edit1_text", and last the recorder's identity "ComboCDs_Identity" beside its scrambled
// position. Every key is written on every save.
//
// The controls that are not stored start each run with their design value.
#include "settings/FormStorage.h"

#include <QList>
#include <QString>
#include <QVariant>
#include <memory>

class QWidget;

namespace quillon {

class IniStore;

// Where the music folders point by default: "C:\My music" on Windows, the user's music
// folder elsewhere.
QString defaultMusicFolder();
// A public CDDB server.
QString defaultCddbServer();

// Control, property, kind, default: the stored properties in file order.
#define QUILLON_OPTION_PROPERTIES(X)                                                                         \
    X(ChkAppID, Checked, Boolean, false)                                                                     \
    X(ChkIsoOptions, Checked, Boolean, false)                                                                \
    X(ChkJoliet, Checked, Boolean, true)                                                                     \
    X(ChkPad, Checked, Boolean, true)                                                                        \
    X(ChkPreparerID, Checked, Boolean, false)                                                                \
    X(ChkPublisherID, Checked, Boolean, false)                                                               \
    X(EditAppID, Text, Text, QString())                                                                      \
    X(EditIsoOptions, Text, Text, QString())                                                                 \
    X(EditPreparerID, Text, Text, QString())                                                                 \
    X(EditPublisherID, Text, Text, QString())                                                                \
    X(EditTmpFile, FileName, Text, QString())                                                                \
    X(EditCharacterSet, FileName, Text, QString())                                                           \
    X(ChkDeep, Checked, Boolean, true)                                                                       \
    X(ChkEject, Checked, Boolean, false)                                                                     \
    X(ChkBurnproof, Checked, Boolean, false)                                                                 \
    X(ChkCdrecOptions, Checked, Boolean, false)                                                              \
    X(ChkForceErrors, Checked, Boolean, false)                                                               \
    X(ChkLameOptions, Checked, Boolean, false)                                                               \
    X(EditCdrecOptions, Text, Text, QString())                                                               \
    X(EditLameOptions, Text, Text, QString())                                                                \
    X(ChkIso31, Checked, Boolean, false)                                                                     \
    X(ChkFast, Checked, Boolean, false)                                                                      \
    X(ChkUpcaseCDText, Checked, Boolean, false)                                                              \
    X(ChkCalcSize, Checked, Boolean, false)                                                                  \
    X(ChkCdText, Checked, Boolean, false)                                                                    \
    X(ChkRipNorm, Checked, Boolean, false)                                                                   \
    X(ChkRip2Mp3, Checked, Boolean, false)                                                                   \
    X(ChkDelRipWav, Checked, Boolean, false)                                                                 \
    X(EditLame, FileName, Text, QString())                                                                   \
    X(RxSpin2, Value, Float, 0.0)                                                                            \
    X(ChkStoreDir, Checked, Boolean, false)                                                                  \
    X(EditNormalize, FileName, Text, QString())                                                              \
    X(EditMp3Check, FileName, Text, QString())                                                               \
    X(EditAudacity, FileName, Text, QString())                                                               \
    X(EditProxy, Text, Text, QString())                                                                      \
    X(EditProxyPort, Value, Float, 80.0)                                                                     \
    X(EditProxyUser, Text, Text, QString())                                                                  \
    X(CheckUseProxy, Checked, Boolean, false)                                                                \
    X(EditCddbPath, Text, Text, QStringLiteral("/~cddb/cddb.cgi"))                                           \
    X(EditCddbServer, Text, Text, defaultCddbServer())                                                       \
    X(EditCddbPort, Value, Float, 80.0)                                                                      \
    X(SpinBuffer, Value, Float, 4.0)                                                                         \
    X(ChkUseBg, Checked, Boolean, true)                                                                      \
    X(EditBg, Text, Text, QString())                                                                         \
    X(ChkUseFonts, Checked, Boolean, false)                                                                  \
    X(FontAll, FontName, Text, QString())                                                                    \
    X(ColorFontAll, Color, Colour, 0)                                                                        \
    X(BtnFontAllBold, Down, Boolean, false)                                                                  \
    X(BtnFontAllItalic, Down, Boolean, false)                                                                \
    X(SpinFontAllSize, Value, Float, 10.0)                                                                   \
    X(DlgOpenPicture, InitialDir, Text, QString())                                                           \
    X(EditDefaultName, Text, Text, QString())                                                                \
    X(EditMp3Comment, Text, Text, QString())                                                                 \
    X(ChkMp3Comment, Checked, Boolean, true)                                                                 \
    X(RadioOutput, Checked, Boolean, false)                                                                  \
    X(DirOutput, Text, Text, defaultMusicFolder())                                                           \
    X(DirRipOutput, Text, Text, defaultMusicFolder())                                                        \
    X(RadioTheSame, Checked, Boolean, true)                                                                  \
    X(ChkWriteAuthor, Checked, Boolean, false)

// The lists whose positions are stored values ("Control_ItemIndex"), with their defaults.
// The proxy password goes between ComboRipNorm and ComboFreq in the file.
#define QUILLON_OPTION_LISTS(X)                                                                              \
    X(ComboCDs, 0)                                                                                           \
    X(ComboCompression, 0)                                                                                   \
    X(ComboQuality, -1)                                                                                      \
    X(ComboBitrateMin, -1)                                                                                   \
    X(ComboBitrate, -1)                                                                                      \
    X(ComboBitrateMax, -1)                                                                                   \
    X(ComboCharacterSet, -1)                                                                                 \
    X(ComboRipNorm, -1)                                                                                      \
    X(ComboFreq, -1)                                                                                         \
    X(ComboStereo, -1)

// The option controls that are not stored, with their design values.
#define QUILLON_OPTION_UNSTORED(X)                                                                           \
    X(ChkAskCDDB, Boolean, false)                                                                            \
    X(ChrRemoveOK, Boolean, true)                                                                            \
    X(ChkFixCRC, Boolean, false)                                                                             \
    X(EditBitrate, Float, 192.0)                                                                             \
    X(EditUserLame, Text, QString())                                                                         \
    X(ChkShowAds, Boolean, true)

template <PropKind K> struct OptionType;
template <> struct OptionType<PropKind::Boolean> {
    using type = bool;
};
template <> struct OptionType<PropKind::Integer> {
    using type = int;
};
template <> struct OptionType<PropKind::Colour> {
    using type = int;
};
template <> struct OptionType<PropKind::Float> {
    using type = double;
};
template <> struct OptionType<PropKind::Text> {
    using type = QString;
};

// The recorder as the drive list knows it, kept beside its list position so that a changed
// drive order still finds it.
struct RecorderIdentity {
    QString vendor;
    QString product;
    QString deviceNode;

    bool isEmpty() const { return vendor.isEmpty() && product.isEmpty() && deviceNode.isEmpty(); }
    // "vendor|product|device node", each trimmed.
    QString toText() const;
    static RecorderIdentity fromText(const QString &text); // empty when not three parts
    bool operator==(const RecorderIdentity &) const = default;
};

class OptionsModel {
public:
    enum class Storage { Property, Value, NotStored };
    struct Info {
        QString control;
        QString key; // empty for the controls that are not stored
        PropKind kind;
        QVariant defaultValue;
        Storage storage;
    };

    OptionsModel();
    ~OptionsModel();
    OptionsModel(const OptionsModel &) = delete;
    OptionsModel &operator=(const OptionsModel &) = delete;

#define QUILLON_DECLARE_ACCESSORS(control, kind)                                                           \
    OptionType<PropKind::kind>::type control() const                                                         \
    {                                                                                                        \
        return m_##control;                                                                                  \
    }                                                                                                        \
    void set##control(const OptionType<PropKind::kind>::type &value)                                         \
    {                                                                                                        \
        m_##control = value;                                                                                 \
    }
#define QUILLON_DECLARE_PROPERTY(control, property, kind, def) QUILLON_DECLARE_ACCESSORS(control, kind)
    QUILLON_OPTION_PROPERTIES(QUILLON_DECLARE_PROPERTY)
#undef QUILLON_DECLARE_PROPERTY
#define QUILLON_DECLARE_LIST(control, def)                                                                   \
    int control() const                                                                                      \
    {                                                                                                        \
        return m_##control;                                                                                  \
    }                                                                                                        \
    void set##control(int position)                                                                          \
    {                                                                                                        \
        m_##control = position;                                                                              \
    }
    QUILLON_OPTION_LISTS(QUILLON_DECLARE_LIST)
#undef QUILLON_DECLARE_LIST
#define QUILLON_DECLARE_UNSTORED(control, kind, def) QUILLON_DECLARE_ACCESSORS(control, kind)
    QUILLON_OPTION_UNSTORED(QUILLON_DECLARE_UNSTORED)
#undef QUILLON_DECLARE_UNSTORED
#undef QUILLON_DECLARE_ACCESSORS

    // The proxy password in plain text; the file holds it enciphered under "Edit1_text".
    QString EditProxyPassword() const
    {
        return m_EditProxyPassword;
    }
    void setEditProxyPassword(const QString &password)
    {
        m_EditProxyPassword = password;
    }
    RecorderIdentity ComboCDsIdentity() const
    {
        return m_ComboCDsIdentity;
    }
    void setComboCDsIdentity(const RecorderIdentity &identity)
    {
        m_ComboCDsIdentity = identity;
    }

    // Every option with its control name, key, kind and default, stored ones in file order.
    static const QList<Info> &table();
    // Access by control name; an unknown name reads as an invalid value and is not written.
    QVariant value(const QString &control) const;
    bool setValue(const QString &control, const QVariant &value);

    // The start of a run, after the first restore: the encoder lists begin at their first
    // entry whatever was stored.
    void startOfRun();

    // Reads the "Options" section (a missing key, or a position that is empty or no number,
    // leaves that option as it is). Cancel in the dialog calls it again to revert.
    void restore(const IniStore &ini);
    // Writes every key of the "Options" section.
    void save(IniStore &ini);
    // The dialog's window, for the window keys of the section.
    void setWindow(QWidget *window);
    TFormStorage &storage()
    {
        return *m_storage;
    }

private:
#define QUILLON_MEMBER_PROPERTY(control, property, kind, def)                                                \
    OptionType<PropKind::kind>::type m_##control = def;
    QUILLON_OPTION_PROPERTIES(QUILLON_MEMBER_PROPERTY)
#undef QUILLON_MEMBER_PROPERTY
#define QUILLON_MEMBER_LIST(control, def) int m_##control = def;
    QUILLON_OPTION_LISTS(QUILLON_MEMBER_LIST)
#undef QUILLON_MEMBER_LIST
#define QUILLON_MEMBER_UNSTORED(control, kind, def) OptionType<PropKind::kind>::type m_##control = def;
    QUILLON_OPTION_UNSTORED(QUILLON_MEMBER_UNSTORED)
#undef QUILLON_MEMBER_UNSTORED
    QString m_EditProxyPassword;
    RecorderIdentity m_ComboCDsIdentity;

    void valuesToStorage();
    void valuesFromStorage();
    std::unique_ptr<TFormStorage> m_storage;
};

} // namespace quillon
