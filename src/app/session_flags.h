#pragma once

namespace orvane {

// The switches a front end and the reading dialogs turn while a job runs;
// the session reads them at each sub-picture.
struct SessionFlags {
    // "Show Pict." of the main window.
    bool showSubPicture = true;
    // The progression controller's non-stop flag.
    bool progressionNonStop = false;
    // The bitmap adjustment dialog's show-before-next-picture flag.
    bool showBeforeNextPicture = false;
    // The bitmap adjustment dialog's save-this-picture flag.
    bool saveThisPicture = true;
    // Set once the bitmap adjustment has chosen the colour roles; until
    // then the first picture of a BMP or show-only job chooses them.
    bool colourRolesSet = false;
};

}  // namespace orvane
