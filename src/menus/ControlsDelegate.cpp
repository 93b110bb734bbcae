// The delegate of the screens' controls.
#include "ControlsDelegate.h"

#include "Alert.h"
#include "GameScreens.h"
#include "HiScoresMenu.h"
#include "SegmentedControl.h"
#include "TextField.h"

bool ControlsDelegate::textFieldShouldReturn(Ui::TextField& field) {
  if (screens != nullptr && &field == screens->nameField.get() && nameConfirmed) {
    // One Return confirms the name; the controller takes the field off the screen.
    nameConfirmed();
    return true;
  }
  field.resignFirstResponder();
  return true;
}

void ControlsDelegate::alertClickedButtonAtIndex(Ui::Alert& alert, int buttonIndex) {
  if (screens == nullptr) return;
  if (&alert == screens->settingsAlert.get()) {
    if (settingsAnswer) settingsAnswer(buttonIndex == 1);
  } else if (&alert == screens->uploadAlert.get()) {
    if (buttonIndex == 1 && hiScoresMenu != nullptr) hiScoresMenu->startUpload();
  }
}

void ControlsDelegate::localGlobalChange(Ui::SegmentedControl& control) {
  if (hiScoresMenu != nullptr) hiScoresMenu->localGlobalChange(control.selectedSegmentIndex());
}
