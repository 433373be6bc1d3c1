#include "session/MainCaptions.h"

#include "core/TextKind.h"
#include "session/ControlIds.h"

namespace {

using K = CaptionTarget::Kind;

}  // namespace

const std::array<CaptionTarget, kMainCaptions> kCaptionTargets = {{
    {K::Menu, 0, "S&oubor"},
    {K::Command, ids::kMenuLoadText, "&Načti text"},
    {K::Command, ids::kMenuSaveText, "&Ulož text"},
    {K::Command, ids::kMenuPrint, "&Tisk"},
    {K::Command, ids::kMenuExit, "&Konec"},
    {K::Menu, 1, "Nastav&ení"},
    {K::Command, ids::kMenuOutput, "&Výstupu"},
    {K::Command, ids::kMenuStepping, "&Krokování"},
    {K::Command, ids::kMenuLanguage, "&Změna jazyka"},
    {K::Command, ids::kMenuRemember, "&Pamatovat"},
    {K::Menu, 2, "Ná&pověda"},
    {K::Command, ids::kMenuHelpContents, "&Obsah"},
    {K::Command, ids::kMenuAbout, "O &aplikaci"},
    {K::Control, ids::kMorseTextFrame, "Morse text"},
    {K::Control, ids::kHideText, "Skrytí zobrazovaného textu"},
    {K::Control, ids::kGeneratorFrame, "Nastavení generátoru"},
    {K::Control, ids::kLettersLabel, "Písmena a interpunkční znaky"},
    {K::Control, ids::kDigitsLabel, "Číslice"},
    {K::Control, ids::kShortZeros, "Zkrátit nuly"},
    {K::Control, ids::kTextKindLabel, "Druh textu"},
    {K::Control, ids::kGenerate, "&Generuj text"},
    {K::TextKind, 0, "Písmenový text"},
    {K::TextKind, 1, "Číslicový text"},
    {K::TextKind, 2, "Smíšený text"},
    {K::TextKind, 3, "Šifrovaný text"},
    {K::TextKind, 4, "Vlastní text"},
    {K::Control, ids::kSendingFrame, "Vysílání"},
    {K::Control, ids::kStart, "&Start"},
    {K::Control, ids::kStop, "S&top"},
    {K::Control, ids::kPause, "P&auza"},
    {K::Control, ids::kStep, "K&rokování"},
    {K::Control, ids::kTextFrame, "Práce s textem"},
    {K::Control, ids::kLoad, "&Načti"},
    {K::Control, ids::kSave, "&Ulož"},
    {K::Control, ids::kCustom, "&Vytvoř vlastní"},
    {K::Control, ids::kToPrint, "&Do tisku"},
    {K::Control, ids::kOutputFrame, "Nastavení výstupu"},
    {K::Control, ids::kParametersFrame, "Parametry vysílání"},
    {K::Control, ids::kToneLabel, "Tónová volba"},
    {K::Control, ids::kTextSpeedLabel, "Rychlost textu"},
    {K::Control, ids::kSignSpeedLabel, "Rychlost značky"},
    {K::Control, ids::kRatioFrame, "Prodloužení čárek"},
    {K::Control, ids::kRatioLabel, "Poměr tečka : čárka"},
    {K::Control, ids::kResultHeading, "rychlosti budou zhruba:"},
    {K::Control, ids::kResultTextLabel, "Rychlost textu"},
    {K::Control, ids::kResultSignLabel, "Rychlost značky"},
    {K::Control, ids::kVolumeFrame, "Hlasitost"},
}};

const std::array<CaptionTarget, kTrainingCaptions> kTrainingCaptionTargets = {{
    {K::Menu, 3, "Vý&cvik"},
    {K::Command, ids::kMenuCopyCheck, "&Kontrola opisu…"},
    {K::Command, ids::kMenuStatistics, "&Statistika…"},
    {K::Command, ids::kMenuCourse, "Kochova &metoda…"},
    {K::Command, ids::kMenuWeakCharacters, "Procvičovat s&labé znaky"},
    {K::TextKind, kLessonText, "Kochova lekce"},
    {K::Command, ids::kMenuSaveSound, "Uložit &zvuk…"},
    {K::Command, ids::kMenuReceptionConditions, "&Podmínky příjmu…"},
}};

const std::array<CaptionTarget, kTrafficCaptions> kTrafficCaptionTargets = {{
    {K::TextKind, kWordText, "Slova"},
    {K::TextKind, kCallsignText, "Volací znaky"},
    {K::TextKind, kAbbreviationText, "Zkratky a Q-kódy"},
    {K::TextKind, kContactText, "Spojení"},
    {K::Command, ids::kMenuInstantRecognition, "Okamžité &rozpoznání…"},
    {K::Command, ids::kMenuCallsigns, "&Volací znaky…"},
    {K::Command, ids::kMenuSoundOptions, "Mo&žnosti zvuku…"},
    {K::Command, ids::kMenuPunctuation, "&Mezinárodní interpunkce (ITU)"},
    {K::Command, ids::kMenuKeying, "Klíčová&ní…"},
    {K::Command, ids::kMenuSendingPractice, "Vysílání klíč&em…"},
}};
