// The application's message loop, modal display of a form, and closing: closing the main
// form ends the program, closing any other form only destroys its window.
#pragma once

#include "control.h"

#include "windows.h"

// The application's main form: parent of the secondary forms, caption of the message
// boxes, and the window whose closing ends the loop.
extern TControl* MainForm;
// True from the start of RunApplication until TerminateApplication.
extern bool AppRunning;
// Set once WM_QUIT has been taken from the queue (or by TerminateApplication); every
// message loop stops when it is set. Never cleared.
extern bool AppTerminated;

// Creates and shows the form, loops until the application ends, then frees the form and
// sets the variable to nil.
void RunApplication(TControl*& form);
// Handles one message (the given one, or one taken from the queue without waiting);
// false when there was none, or it was WM_NULL.
bool ProcessMessage(TControl* form, const MSG* msg = nullptr);
void ProcessMessages(TControl* form);
void WaitAndProcessMessages(TControl* form);
void TerminateApplication(TControl*& form);

void Show(TControl* form);
// Shows the form with the main form disabled until the form's ModalResult becomes
// non-zero (or the application ends); returns the ModalResult. The form is neither hidden
// nor freed.
LONG ShowModal(TControl* form);
// Posts WM_CLOSE to the control's window (never creates one).
void Close(TControl* control);
bool IsMainWindow(TControl* control);

bool ModalFormHandler(TControl* form, MSG& msg, LRESULT& result);
bool DisabledFormHandler(TControl* control, MSG& msg, LRESULT& result);
