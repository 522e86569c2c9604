#pragma once
// The options dialog's lists and the rules its handlers apply, as plain functions so that the
// job dialog, the wizard and the tests use the same ones. The stored value of a list is its
// position, so the order of every list here is part of the settings file's format.
#include <QString>
#include <QStringList>

namespace quillon {

QStringList compressionEntries();  // ComboCompression
QStringList qualityEntries();      // ComboQuality
QStringList bitrateEntries();      // ComboBitrate
QStringList bitrateRangeEntries(); // ComboBitrateMin, ComboBitrateMax
QStringList frequencyEntries();    // ComboFreq
QStringList stereoEntries();       // ComboStereo
QStringList ripNormEntries();      // ComboRipNorm

// ComboCharacterSet: 36 character sets, "From a file" at position 36, then "utf-8", which
// came later and so follows it: old positions stay valid.
QStringList characterSetEntries();
constexpr int kCharacterSetFromFile = 36;
constexpr int kCharacterSetUtf8 = 37;

// The character-set value of a list position for mkisofs' -input-charset: the first word of
// the entry, or the characters file for "From a file". The bare value: quoting belongs to the
// command line.
QString characterSetValue(int position, const QString &charactersFile);
// The entry detection selects for a system character set ("cp850", "UTF-8"; empty counts as
// "ISO8859-1"): the first whose upper-cased text begins with it; -1 when none does.
int characterSetPositionFor(const QString &detected);

// Compression presets: which of the encoder controls a position shows. Labels follow their
// controls.
struct CompressionControls {
    bool quality = false, bitrate = false, bitrateMinMax = false, editBitrate = false, userLame = false,
         fast = false;
    bool lameOptions = true, frequency = true, stereo = true;
};
CompressionControls compressionControls(int position);

// Lower case, then the first character of every word upper case; blanks, digits and
// "!#&(,-./[_{" separate words ("THE 2ND SONG" becomes "The 2Nd Song").
QString ProperCase(const QString &text);

// The proxy and CDDB server fields after leaving them: the field's new text and whatever
// other parts the address carried (empty when it had none).
struct ParsedAddress {
    QString field;
    QString user;
    QString password;
    QString port; // digits only; a port that is no whole number is dropped
    QString path;
};
ParsedAddress parseServerAddress(const QString &text);

// The image file name rule shared by the options dialog's temporary image field and the job
// dialog's image file field. On Linux "/" is the folder separator, on Windows "\\" (and ":"
// ends a drive). An empty name passes.
enum class ImageNameProblem { None, InvalidCharacters, MissingFileName };
ImageNameProblem checkImageFileName(const QString &trimmedName);
QString imageNameProblemText(ImageNameProblem problem);
QString imageNameProblemCaption(ImageNameProblem problem);

// "Text files (*.txt)|*.txt|All files (*.*)|*.*" as Qt's filter list.
QStringList qtFilters(const QString &pipeFilter);
// The file filter of a tool program, naming the program as this system calls it.
QString programFilter(const char *description, const char *program);
// Where the tool choosers start when their field is empty.
QString programStartFolder();

} // namespace quillon
