// Every control of the wizard's two pages, created at their places (twips / 15 = pixels)
// with their names, texts and tab order.
#pragma once

#include "ui/wizard/WizardButton.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QWidget;

namespace ktv {

class FileListBox;

struct WizardControls {
    // Page 1
    QGroupBox* Fra_1 = nullptr;
    QLabel* Label3 = nullptr;
    QComboBox* Cbo_KtdPvd = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* Txt_Klasor = nullptr;
    WizardButton* Cmd_KlasorBul = nullptr;
    FileListBox* File1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Txt_SecilenDosya = nullptr;
    WizardButton* Cmd_Ileri = nullptr;
    WizardButton* Cmd_Kapat0 = nullptr;
    // Page 2
    QGroupBox* Fra_2 = nullptr;
    QGroupBox* Fra_YeniFirma = nullptr;
    QLabel* Lbl_YeniFirmaKodu = nullptr;
    QComboBox* Cbo_FirmaKodu = nullptr;
    QLabel* Lbl_YeniFirmaAdi = nullptr;
    QLineEdit* Txt_FirmaAdi = nullptr;
    QLabel* Label4 = nullptr;
    QComboBox* Cbo_VedazYili = nullptr;
    WizardButton* Cmd_Geri = nullptr;
    WizardButton* Cmd_CevrimYap = nullptr;
    WizardButton* Cmd_Kapat1 = nullptr;
    QProgressBar* PrgBar1 = nullptr;
};

// Pixel sizes of the form.
inline constexpr int kClientWidth = 370;     // 5550 twips
inline constexpr int kClientHeight = 453;    // 6795 twips
inline constexpr int kPageLeft = 3;          // 45 twips
inline constexpr int kPage2DesignLeft = 378; // 5670 twips, outside the client area

// Creates the controls on form. Page 2 starts hidden beside page 1.
WizardControls buildWizardControls(QWidget* form);

} // namespace ktv
