/* Alerts, window placement, dialog items and popup menus. */
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

/* Alerts: a message box owned by the host's client window. */
void AlertOK(const char *caption, const char *text);
int32_t AlertOKCancel(const char *caption, const char *text);    /* 1 or -1 */
int32_t AlertYesNo(const char *caption, const char *text);       /* 1 or 2 */
int32_t AlertYesNoCancel(const char *caption, const char *text); /* 1,2,-1 */

/* Centres window just below the top of reference (the host's client window
   when null), kept within the screen; returns SetWindowPlacement's result. */
int32_t PlaceWindowOver(HWND window, HWND reference);

/* Dialog items. Item texts are read through 256-byte buffers, so at most 255
   characters are seen. A missing item gives 0 and has no effect. */
extern int32_t ItemTextBeingSet; /* non-zero while SetItemText runs */
int32_t ShowItem(HWND dialog, int32_t item);
int32_t HideItem(HWND dialog, int32_t item);
int32_t MakeDialogVisible(HWND window);
HWND WindowOfDialog(HWND dialog);
int32_t EnableItem(HWND dialog, int32_t item);
int32_t DisableItem(HWND dialog, int32_t item);
int32_t SetItemEnabled(HWND dialog, int32_t item, int32_t enable);
/* The item's rectangle in the dialog's client coordinates; returns rect. */
ShortRect *ItemClientRect(HWND dialog, int32_t item, ShortRect *rect);
int32_t IsItemChecked(HWND dialog, int32_t item);
int32_t ReadCheckState(HWND dialog, int32_t item);
int32_t WriteCheckState(HWND dialog, int32_t item, int32_t state);
int32_t FlipCheckState(HWND dialog, int32_t item);
void SetRadioGroup(HWND dialog, int32_t firstItem, int32_t lastItem,
                   int32_t selectedItem);
/* buffer holds at least 256 bytes; returns the length of the text read. */
int32_t GetItemText(HWND dialog, int32_t item, char *buffer);
int32_t SetItemText(HWND dialog, int32_t item, const char *text);
int32_t PutItemText(HWND dialog, int32_t item, const char *text);
/* The readers give 0 when a number was read, 1 (and a zero value) when not. */
int32_t GetItemInt(HWND dialog, int32_t item, int32_t *value);
int32_t SetItemInt(HWND dialog, int32_t item, int32_t value);
int32_t GetItemLong(HWND dialog, int32_t item, int32_t *value);
int32_t SetItemLong(HWND dialog, int32_t item, int32_t value);
int32_t GetItemDouble(HWND dialog, int32_t item, double *value);
int32_t SetItemDouble(HWND dialog, int32_t item, const double *value);
void SelectItemText(HWND dialog, int32_t item);
/* 1 when the notification `code` from the item was a change by the user. */
int32_t IsUserItemChange(HWND dialog, int32_t item, int32_t code);

/* Popup menus: combo box items whose entries are numbered from 1. List texts
   separate entries with ";"; entries longer than 255 characters are cut. */
int32_t IsPopupMenu(HWND dialog, int32_t item);
/* Reads exactly `length` bytes of text; a position of 10000 or more
   appends. */
void InsertPopupItems(HWND dialog, int32_t item, const char *text,
                      int32_t length, int32_t position);
void AppendPopupItems(HWND dialog, int32_t item, const char *text);
int32_t SetUpPopupMenu(HWND dialog, int32_t item, int32_t reserved,
                       const char *text, int32_t selectedNumber);
int32_t SelectPopupItem(HWND dialog, int32_t item, int32_t number);
/* The entry number now selected, or 0 when no entry has that text. */
int32_t SelectPopupItemByText(HWND dialog, int32_t item, const char *text);
/* Nothing selected reads as entry 1 with an empty text. text, when given,
   holds 256 bytes; a longer entry is cut to 255 characters. */
void GetPopupSelection(HWND dialog, int32_t item, int32_t *number, char *text);
void TrimPopupMenu(HWND dialog, int32_t item, int32_t keep);
/* Insert a list the host makes (requests 56, 57, 58); return its answer. */
int32_t InsertHostList38(HWND dialog, int32_t item, int32_t passThrough1,
                         int32_t passThrough2, int32_t position);
int32_t InsertHostList39(HWND dialog, int32_t item, int32_t passThrough1,
                         int32_t passThrough2, int32_t position);
int32_t InsertHostList3A(HWND dialog, int32_t item, int32_t passThrough1,
                         int32_t passThrough2, int32_t position);

#ifdef __cplusplus
}
#endif

#endif /* _WIN32 */

#endif
