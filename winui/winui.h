/** @file
    Alerts, window placement, dialog items and popup menus (Windows only:
    empty elsewhere). Nothing here makes a host request except the host
    lists of InsertHostList38, InsertHostList39 and InsertHostList3A. */
#ifndef TAVREL_WINUI_H
#define TAVREL_WINUI_H

#include <stdint.h>

#include "hostlink.h"
#include "wrappers.h"

#ifdef _WIN32
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

/** Answers of the alerts. */
enum {
  AlertAnswerOK = 1,     /**< AlertOKCancel: OK */
  AlertAnswerYes = 1,    /**< AlertYesNo, AlertYesNoCancel: Yes */
  AlertAnswerNo = 2,     /**< AlertYesNo, AlertYesNoCancel: No */
  AlertAnswerCancel = -1 /**< AlertOKCancel, AlertYesNoCancel: Cancel */
};

/** Shows a message box with an OK button, owned by the host's client
    window (HostClientWindow).
    @param caption the box's title
    @param text the message */
void AlertOK(const char *caption, const char *text);
/** Shows a message box with OK and Cancel; see AlertOK.
    @param caption the box's title
    @param text the message
    @return AlertAnswerOK, or AlertAnswerCancel for anything else (a box
            that could not be shown included). */
int32_t AlertOKCancel(const char *caption, const char *text);
/** Shows a message box with Yes and No; see AlertOK.
    @param caption the box's title
    @param text the message
    @return AlertAnswerYes, or AlertAnswerNo for anything else. */
int32_t AlertYesNo(const char *caption, const char *text);
/** Shows a message box with Yes, No and Cancel; see AlertOK.
    @param caption the box's title
    @param text the message
    @return AlertAnswerYes, AlertAnswerNo, or AlertAnswerCancel for
            anything else. */
int32_t AlertYesNoCancel(const char *caption, const char *text);

/** Centres a window over another, 20 pixels below its top, kept within
    the screen (left, then right, then bottom edge).
    @param window the window to place
    @param reference the window to place it over; null for the host's
           client window
    @return SetWindowPlacement's result: non-zero on success. */
int32_t PlaceWindowOver(HWND window, HWND reference);

/** Non-zero while SetItemText runs, so that IsUserItemChange can tell the
    extension's own changes of an edit item from the user's. */
extern int32_t ItemTextBeingSet;
/** Shows a dialog item.
    @param dialog the dialog
    @param item the item's identifier
    @return ShowWindow's result; 0 for a missing item. */
int32_t ShowItem(HWND dialog, int32_t item);
/** Hides a dialog item.
    @param dialog the dialog
    @param item the item's identifier
    @return ShowWindow's result; 0 for a missing item. */
int32_t HideItem(HWND dialog, int32_t item);
/** Shows a window.
    @param window the window
    @return ShowWindow's result. */
int32_t MakeDialogVisible(HWND window);
/** The window of a dialog: the same handle.
    @param dialog the dialog
    @return dialog. */
HWND WindowOfDialog(HWND dialog);
/** Enables a dialog item.
    @param dialog the dialog
    @param item the item's identifier
    @return EnableWindow's result; 0 for a missing item. */
int32_t EnableItem(HWND dialog, int32_t item);
/** Disables a dialog item.
    @param dialog the dialog
    @param item the item's identifier
    @return EnableWindow's result; 0 for a missing item. */
int32_t DisableItem(HWND dialog, int32_t item);
/** Enables or disables a dialog item.
    @param dialog the dialog
    @param item the item's identifier
    @param enable non-zero to enable
    @return as EnableItem or DisableItem. */
int32_t SetItemEnabled(HWND dialog, int32_t item, int32_t enable);
/** A dialog item's rectangle in the dialog's client coordinates; empty for
    a missing item.
    @param dialog the dialog
    @param item the item's identifier
    @param rect receives the rectangle; null does nothing
    @return rect. */
ShortRect *ItemClientRect(HWND dialog, int32_t item, ShortRect *rect);
/** Whether a check box or radio button is checked.
    @param dialog the dialog
    @param item the item's identifier
    @return 1 if checked, else 0 (an indeterminate box included). */
int32_t IsItemChecked(HWND dialog, int32_t item);
/** As IsItemChecked.
    @param dialog the dialog
    @param item the item's identifier
    @return 1 if checked, else 0. */
int32_t ReadCheckState(HWND dialog, int32_t item);
/** Sets a check box's or radio button's state (BM_SETCHECK).
    @param dialog the dialog
    @param item the item's identifier
    @param state 0 unchecked, 1 checked, 2 indeterminate
    @return state. */
int32_t WriteCheckState(HWND dialog, int32_t item, int32_t state);
/** Checks an unchecked (or indeterminate) box, unchecks a checked one.
    @param dialog the dialog
    @param item the item's identifier
    @return the new state, 1 or 0. */
int32_t FlipCheckState(HWND dialog, int32_t item);
/** Checks one item of a group of consecutive identifiers and unchecks the
    others.
    @param dialog the dialog
    @param firstItem the group's first identifier
    @param lastItem the group's last identifier
    @param selectedItem the one to check; outside the group, none is */
void SetRadioGroup(HWND dialog, int32_t firstItem, int32_t lastItem,
                   int32_t selectedItem);
/** An item's text, at most 255 characters.
    @param dialog the dialog
    @param item the item's identifier
    @param buffer receives the text; at least 256 bytes; null does nothing
    @return the length of the text read (0 for a missing item). */
int32_t GetItemText(HWND dialog, int32_t item, char *buffer);
/** Sets an item's text, with ItemTextBeingSet raised meanwhile.
    @param dialog the dialog
    @param item the item's identifier
    @param text the text
    @return SetDlgItemTextA's result: non-zero on success. */
int32_t SetItemText(HWND dialog, int32_t item, const char *text);
/** As SetItemText.
    @param dialog the dialog
    @param item the item's identifier
    @param text the text
    @return SetItemText's result. */
int32_t PutItemText(HWND dialog, int32_t item, const char *text);
/** Reads an item's text as an integer ("%d").
    @param dialog the dialog
    @param item the item's identifier
    @param value receives the number, 0 when none was read
    @return 0 when a number was read, else 1. */
int32_t GetItemInt(HWND dialog, int32_t item, int32_t *value);
/** Sets an item's text to an integer ("%d").
    @param dialog the dialog
    @param item the item's identifier
    @param value the number
    @return SetItemText's result. */
int32_t SetItemInt(HWND dialog, int32_t item, int32_t value);
/** Reads an item's text as an integer ("%ld").
    @param dialog the dialog
    @param item the item's identifier
    @param value receives the number, 0 when none was read
    @return 0 when a number was read, else 1. */
int32_t GetItemLong(HWND dialog, int32_t item, int32_t *value);
/** Sets an item's text to an integer ("%ld").
    @param dialog the dialog
    @param item the item's identifier
    @param value the number
    @return SetItemText's result. */
int32_t SetItemLong(HWND dialog, int32_t item, int32_t value);
/** Reads an item's text as a double ("%lf").
    @param dialog the dialog
    @param item the item's identifier
    @param value receives the number, 0 when none was read
    @return 0 when a number was read, else 1. */
int32_t GetItemDouble(HWND dialog, int32_t item, double *value);
/** Sets an item's text to a double ("%g").
    @param dialog the dialog
    @param item the item's identifier
    @param value the number; null does nothing
    @return SetItemText's result; 0 for a null value. */
int32_t SetItemDouble(HWND dialog, int32_t item, const double *value);
/** Selects all of an edit item's text and gives it the focus.
    @param dialog the dialog
    @param item the item's identifier; 0 does nothing */
void SelectItemText(HWND dialog, int32_t item);
/** Whether a notification from an item was a change by the user: a
    button's click, a combo box's closed-up or final selection change, an
    edit item's change not made by SetItemText.
    @param dialog the dialog
    @param item the item's identifier
    @param code the notification code
    @return 1 or 0. */
int32_t IsUserItemChange(HWND dialog, int32_t item, int32_t code);

/** Whether an item is a popup menu: a combo box whose style has either of
    its two lowest bits set (CBS_SIMPLE, CBS_DROPDOWN, CBS_DROPDOWNLIST).
    Popup menus number their entries from 1. List texts separate entries
    with ";"; entries longer than 255 characters are cut.
    @param dialog the dialog
    @param item the item's identifier
    @return 1 or 0. */
int32_t IsPopupMenu(HWND dialog, int32_t item);
/** Inserts the entries of a list text into a popup menu, reading exactly
    `length` bytes of text.
    @param dialog the dialog
    @param item the item's identifier
    @param text the list text; null does nothing
    @param length its length in bytes
    @param position the index (from 0) of the first new entry; 10000 or
           more appends */
void InsertPopupItems(HWND dialog, int32_t item, const char *text,
                      int32_t length, int32_t position);
/** Appends the entries of a zero-terminated list text.
    @param dialog the dialog
    @param item the item's identifier
    @param text the list text; null does nothing */
void AppendPopupItems(HWND dialog, int32_t item, const char *text);
/** Appends the entries of a list text and selects one.
    @param dialog the dialog
    @param item the item's identifier
    @param reserved not used
    @param text the list text
    @param selectedNumber the entry to select, from 1
    @return 0. */
int32_t SetUpPopupMenu(HWND dialog, int32_t item, int32_t reserved,
                       const char *text, int32_t selectedNumber);
/** Selects an entry by number.
    @param dialog the dialog
    @param item the item's identifier
    @param number the entry, from 1
    @return CB_SETCURSEL's result: the index selected, or CB_ERR. */
int32_t SelectPopupItem(HWND dialog, int32_t item, int32_t number);
/** Selects the entry of a text (exact, case-insensitive).
    @param dialog the dialog
    @param item the item's identifier
    @param text the entry's text
    @return the entry number now selected, or 0 when no entry has that
            text. */
int32_t SelectPopupItemByText(HWND dialog, int32_t item, const char *text);
/** The selected entry. Nothing selected reads as entry 1 with an empty
    text.
    @param dialog the dialog
    @param item the item's identifier
    @param number receives the entry number, or null
    @param text receives the entry's text, cut to 255 characters; 256 bytes,
           or null */
void GetPopupSelection(HWND dialog, int32_t item, int32_t *number, char *text);
/** Deletes the entries after the first `keep`.
    @param dialog the dialog
    @param item the item's identifier
    @param keep how many to keep; below 0 keeps none */
void TrimPopupMenu(HWND dialog, int32_t item, int32_t keep);
/** Inserts a list the host makes: a new handle (NewHandle, a memory
    request), sends host request 56 with the handle, passThrough1, ";" and
    passThrough2, inserts what the host wrote (whatever its answer), then
    disposes of the handle.
    @param dialog the dialog
    @param item the item's identifier
    @param passThrough1 item 1 of the request
    @param passThrough2 item 3 of the request
    @param position as InsertPopupItems
    @return the host's answer, or NullHandleError when NewHandle failed
            (without a request). */
int32_t InsertHostList38(HWND dialog, int32_t item, int32_t passThrough1,
                         int32_t passThrough2, int32_t position);
/** As InsertHostList38 with host request 57.
    @param dialog the dialog
    @param item the item's identifier
    @param passThrough1 item 1 of the request
    @param passThrough2 item 3 of the request
    @param position as InsertPopupItems
    @return the host's answer, or NullHandleError. */
int32_t InsertHostList39(HWND dialog, int32_t item, int32_t passThrough1,
                         int32_t passThrough2, int32_t position);
/** As InsertHostList38 with host request 58.
    @param dialog the dialog
    @param item the item's identifier
    @param passThrough1 item 1 of the request
    @param passThrough2 item 3 of the request
    @param position as InsertPopupItems
    @return the host's answer, or NullHandleError. */
int32_t InsertHostList3A(HWND dialog, int32_t item, int32_t passThrough1,
                         int32_t passThrough2, int32_t position);

#ifdef __cplusplus
}
#endif

#endif /* _WIN32 */

#endif
