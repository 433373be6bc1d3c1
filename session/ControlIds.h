#pragma once

// Identifiers of the main window's controls and menu commands. Language files and settings
// address controls by these numbers.
namespace ids {

inline constexpr int kMorseText = 1000;
inline constexpr int kHideText = 1001;
inline constexpr int kMorseTextFrame = 1002;
inline constexpr int kLetters = 1003;
inline constexpr int kDigits = 1004;
inline constexpr int kTextKind = 1005;
inline constexpr int kLettersLabel = 1006;
inline constexpr int kDigitsLabel = 1007;
inline constexpr int kTextKindLabel = 1008;
inline constexpr int kStart = 1009;
inline constexpr int kGeneratorFrame = 1010;
inline constexpr int kGenerate = 1011;
inline constexpr int kStop = 1012;
inline constexpr int kPause = 1013;
inline constexpr int kStep = 1014;
inline constexpr int kSendingFrame = 1015;
inline constexpr int kLoad = 1016;
inline constexpr int kSave = 1017;
inline constexpr int kCustom = 1018;
inline constexpr int kTextFrame = 1019;
inline constexpr int kTone = 1021;
inline constexpr int kTextSpeed = 1022;
inline constexpr int kSignSpeed = 1023;
inline constexpr int kToneLabel = 1024;
inline constexpr int kTextSpeedLabel = 1025;
inline constexpr int kSignSpeedLabel = 1026;
inline constexpr int kParametersFrame = 1027;
inline constexpr int kVolume = 1028;
inline constexpr int kVolumeFrame = 1029;
inline constexpr int kOutputFrame = 1030;
inline constexpr int kToPrint = 1031;
inline constexpr int kRatioLabel = 1032;
inline constexpr int kShortZeros = 1033;
inline constexpr int kRatio = 1034;
inline constexpr int kResultHeading = 1035;
inline constexpr int kResultTextLabel = 1036;
inline constexpr int kResultSignLabel = 1037;
inline constexpr int kResultText = 1038;
inline constexpr int kResultSign = 1039;
inline constexpr int kRatioFrame = 1040;

inline constexpr int kMenuLoadText = 32776;
inline constexpr int kMenuSaveText = 32777;
inline constexpr int kMenuExit = 32778;
inline constexpr int kMenuOutput = 32779;
inline constexpr int kMenuStepping = 32780;
inline constexpr int kMenuHelpContents = 32781;
inline constexpr int kMenuAbout = 32782;
inline constexpr int kMenuPrint = 32785;
inline constexpr int kMenuRemember = 32788;
inline constexpr int kMenuLanguage = 32790;
// The training menu's commands.
inline constexpr int kMenuCopyCheck = 32800;
inline constexpr int kMenuStatistics = 32801;
inline constexpr int kMenuCourse = 32802;
inline constexpr int kMenuWeakCharacters = 32803;
inline constexpr int kMenuSaveSound = 32804;
inline constexpr int kMenuReceptionConditions = 32805;
inline constexpr int kMenuInstantRecognition = 32806;
inline constexpr int kMenuCallsigns = 32807;
inline constexpr int kMenuSoundOptions = 32808;
inline constexpr int kMenuPunctuation = 32809;
inline constexpr int kMenuKeying = 32810;
inline constexpr int kMenuSendingPractice = 32811;

}  // namespace ids
