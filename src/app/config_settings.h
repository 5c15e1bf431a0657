#pragma once

#include <cstdint>
#include <string>

namespace orvane {

// What the main window and its dialogs keep between runs besides the
// records of the OCR, the preview, the writers and the bitmap export: the
// file dialogs' start folders, the language and a few check boxes.
struct ConfigSettings {
    // The folder last used in each file dialog (ends with '/'), passed to
    // the dialog unchanged even when it no longer exists.
    std::string openDialogCharMatrix;  // OpenDialogCharMatrix
    std::string saveDialogCharMatrix;  // SaveDialogCharMatrix
    std::string saveDialogBmpSup;      // SaveDialogBmpSup
    std::string openDialogVob;         // OpenDialogVob
    std::string openDialogOrvaneText;  // OpenDialogOrvaneText
    std::string saveDialogText;        // SaveDialogText

    std::string languageFileName;   // base name of lang/NAME.lng; empty: built-in English
    bool autoScrollDown = true;     // CheckBoxScrollDown of the subtitle window
    int32_t actionMode = 0;         // item of RadioGroupAction: the job's ActionMode minus one
    bool avoidTimeRestart = false;  // CheckBoxAvoidTimeRestart of the job setup
    bool pictTiming = true;         // CheckBoxPictTiming ("+ TC && Res.") of the job setup
    // The job dialog as the last Start left it: the folder listed, the
    // stream chosen and the matrix file in use (empty: none).
    std::string jobFolder;
    int32_t jobStream = 0;
    std::string jobMatrix;
    // The new-character dialog flashes and beeps when left waiting.
    bool attentionSignal = true;

    friend bool operator==(const ConfigSettings&, const ConfigSettings&) = default;
};

}  // namespace orvane
