// The settings dialog: the user picks the saver's background music (none,
// an audio CD with an optional repeated track, or an MP3 or WAV file);
// "設定" stores the choice in the settings file and closes, "ｷｬﾝｾﾙ" and the
// close box close without storing, "その他の作品" opens our home page.
#pragma once

#include <memory>

#include "combo_box.h"
#include "command.h"
#include "form.h"
#include "image.h"
#include "label.h"
#include "picture_box.h"
#include "shape.h"

// The caption by which a second start knows that the dialog is open.
constexpr char kDialogCaption[] = "<Ondrake>";

// The page "その他の作品" opens.
extern const char kHomePage[];

class Sollvane_P : public Form {
public:
    Sollvane_P();

protected:
    void OnLoad() override;
    void OnResize() override;
    void OnUnload() override;

private:
    void CreateControls();
    // Initialize on every Command button of the dialog.
    void InitializeButtons();
    void ChooseKind(int kind);
    void ShowKind(int16_t kind);
    void ChooseFile();
    void Save();
    void OpenHomePage();

    std::unique_ptr<PictureBox> Pic_C;
    std::unique_ptr<ComboBox> BGM_Repeat;
    std::unique_ptr<Command> Cmd_BGM, Cmd_Set, Cmd_Can, Cmd_Etc;
    Shape Shape3;
    Label lblHeading, lblRepeat, lbl_Fname, lblCredit;
    Label lbl_BGM[3];
    Image Img_BGM[3];
    Image Img_Ra[2];
};
