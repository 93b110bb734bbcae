// The shared delegate of the screens' controls.
#include "MenuDelegate.h"

#include "Alert.h"
#include "GameScreens.h"
#include "HiScoresMenu.h"
#include "SegmentedControl.h"
#include "TextField.h"

GameDelegate* MenuDelegate::myDelegate = nullptr;
bool MenuDelegate::myDelegateInited = false;

void MenuDelegate::initMyDelegateIfNeccessary(HiScoresMenu* hiScores, GameScreens* screens) {
  if (!myDelegateInited) {
    // Never released: the controls hold plain pointers to it for the whole run.
    myDelegate = new GameDelegate();
    myDelegateInited = true;
  }
  if (hiScores != nullptr) myDelegate->hiScoresMenu = hiScores;
  if (screens != nullptr) myDelegate->bg = screens;
}

bool GameDelegate::textFieldShouldReturn(Ui::TextField& field) {
  field.resignFirstResponder();
  return true;
}

void GameDelegate::alertClickedButtonAtIndex(Ui::Alert& alert, int buttonIndex) {
  if (bg == nullptr) return;
  if (&alert == bg->settingsAlert.get()) {
    if (settingsAnswer) settingsAnswer(buttonIndex == 1);
  } else if (&alert == bg->uploadAlert.get()) {
    if (buttonIndex == 1 && hiScoresMenu != nullptr) hiScoresMenu->startUpload();
  }
}

void GameDelegate::localGlobalChange(Ui::SegmentedControl& control) {
  if (hiScoresMenu != nullptr) hiScoresMenu->localGlobalChange(control.selectedSegmentIndex());
}
