/* The arithmetic and text work behind the dialog routines, kept apart from
   Win32 so that it builds and is tested on any machine. */
#ifndef TAVREL_WINUI_DETAIL_DIALOG_LOGIC_H
#define TAVREL_WINUI_DETAIL_DIALOG_LOGIC_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

enum {
  ItemTextBytes = 256,   /* every item or entry text passes through these */
  NumberTextBytes = 32,  /* formatted numbers */
  AppendPosition = 10000 /* insert positions from here on append */
};

/* Window placement. */
typedef struct EdgeRect {
  int32_t left, top, right, bottom;
} EdgeRect;
/* A width × height rectangle centred over reference, 20 below its top, with
   the left, then the right, then the bottom edge kept on the screen. */
EdgeRect PlaceOverReference(EdgeRect reference, int32_t width, int32_t height,
                            int32_t screenWidth, int32_t screenHeight);

/* Item numbers as text; the parsers give 0 when a number was read, else 1
   with a zero value. */
int32_t ParseItemInt(const char *text, int32_t *value);
int32_t ParseItemLong(const char *text, int32_t *value);
int32_t ParseItemDouble(const char *text, double *value);
void FormatItemInt(int32_t value, char text[NumberTextBytes]);
void FormatItemLong(int32_t value, char text[NumberTextBytes]);
void FormatItemDouble(double value, char text[NumberTextBytes]);

/* Window classes told apart by their names, whatever their case. */
enum ItemClassKind {
  OtherItemClass,
  ButtonItemClass, /* BUTTON, RADIOBUTTON, CHECKBOX */
  ComboItemClass,  /* COMBOBOX */
  EditItemClass    /* EDIT */
};
enum ItemClassKind ItemClassKindOf(const char *className);

/* Popup menus count entries from 1, combo boxes from 0. */
int32_t IndexOfEntryNumber(int32_t number);
int32_t EntryNumberOfIndex(int32_t index); /* no selection (-1) reads as 1 */

/* Calls `add` for each ";"-separated entry of the first `length` bytes of
   text, cut to 255 characters, with positions counting up from `position`
   (positions at AppendPosition or above stay there). */
typedef void (*ListEntryHandler)(const char *entry, int32_t position,
                                 void *context);
void ForEachListEntry(const char *text, int32_t length, int32_t position,
                      ListEntryHandler add, void *context);

/* Asks `service` for a list into a new host handle (items: the handle,
   passThrough1, the separator ";", passThrough2), hands the handle's bytes to
   `use` whatever the answer, disposes the handle and returns the answer. */
typedef int32_t (*HostListService)(int32_t handle, int32_t passThrough1,
                                   int32_t separator, int32_t passThrough2);
typedef void (*ListTextHandler)(const char *text, int32_t length,
                                void *context);
int32_t WithHostList(HostListService service, int32_t passThrough1,
                     int32_t passThrough2, ListTextHandler use, void *context);

#ifdef __cplusplus
}
#endif

#endif
