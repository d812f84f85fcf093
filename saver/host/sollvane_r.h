// The preview form: a borderless black form with one still picture of the
// saver, which the program embeds in the Display control panel's little
// monitor. It ends the program when it unloads, and it unloads when that
// monitor's window goes.
#pragma once

#include "form.h"
#include "image.h"

class Sollvane_R : public Form {
public:
    Sollvane_R();

    Image Img_Prev;  // the still, scaled to the box it is given

protected:
    void OnUnload() override;
};
