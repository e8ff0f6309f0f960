/* Bitmap and icon IDs of the language library. The pictures are drawn at build time by the
   picture generator (tools/PictureGen.cpp); those the pages draw transparently use pure green,
   RGB(0, 255, 0), as the key. */
#ifndef QV_IDS_PICTURES_H
#define QV_IDS_PICTURES_H

/* ---- Paper pictures of the Paper page: landscape, then portrait, by form code (key green) --- */

#define IDB_PAPER_A4_LANDSCAPE 5190
#define IDB_PAPER_A4_PORTRAIT 5191
#define IDB_PAPER_A5_LANDSCAPE 5192
#define IDB_PAPER_A5_PORTRAIT 5193
#define IDB_PAPER_OFICIO_LANDSCAPE 5194 /* form code 262 */
#define IDB_PAPER_OFICIO_PORTRAIT 5195
#define IDB_PAPER_B5_LANDSCAPE 5196
#define IDB_PAPER_B5_PORTRAIT 5197
#define IDB_PAPER_OTHER_LANDSCAPE 5198 /* any form code without a picture of its own */
#define IDB_PAPER_OTHER_PORTRAIT 5199
#define IDB_PAPER_EXECUTIVE_LANDSCAPE 5200
#define IDB_PAPER_EXECUTIVE_PORTRAIT 5201
#define IDB_PAPER_LETTER_LANDSCAPE 5204
#define IDB_PAPER_LETTER_PORTRAIT 5205
#define IDB_PAPER_LEGAL_LANDSCAPE 5206
#define IDB_PAPER_LEGAL_PORTRAIT 5207
#define IDB_PAPER_ENV_10_LANDSCAPE 5210
#define IDB_PAPER_ENV_10_PORTRAIT 5211
#define IDB_PAPER_MONARCH_LANDSCAPE 5214
#define IDB_PAPER_MONARCH_PORTRAIT 5215
#define IDB_PAPER_ENV_9_LANDSCAPE 5216
#define IDB_PAPER_ENV_9_PORTRAIT 5217
#define IDB_PAPER_ENV_B5_LANDSCAPE 5218
#define IDB_PAPER_ENV_B5_PORTRAIT 5219
#define IDB_PAPER_ENV_C5_LANDSCAPE 5222
#define IDB_PAPER_ENV_C5_PORTRAIT 5223
#define IDB_PAPER_ENV_DL_LANDSCAPE 5226
#define IDB_PAPER_ENV_DL_PORTRAIT 5227
#define IDB_OUTPUT_ARROW 5247 /* between the paper and the output-size pictures */

/* ---- Setup page pictures (key green) -------------------------------------------------------- */

#define IDB_ORIENTATION_PORTRAIT 5241 /* also one page per sheet */
#define IDB_ORIENTATION_LANDSCAPE 5242
#define IDB_DUPLEX_LONG_EDGE 5143
#define IDB_DUPLEX_SHORT_EDGE 5144
#define IDB_COPIES_ONE 5149
#define IDB_COPIES_UNCOLLATED 5151
#define IDB_COPIES_COLLATED 5153
/* Pages per sheet: for each count four pictures, portrait without and with borders, then
   landscape without and with borders. */
#define IDB_LAYOUT_2 5156
#define IDB_LAYOUT_4 5160
#define IDB_LAYOUT_6 5164
#define IDB_LAYOUT_9 5168
#define IDB_LAYOUT_16 5172

/* ---- Other pictures ------------------------------------------------------------------------- */

#define IDB_BRAND 5127        /* maker's picture (key green) */
#define IDB_MARK 5115         /* list mark image, drawn with OR */
#define IDB_MARK_MASK 5116    /* its mask, drawn with AND */
#define IDB_BOOKLET 5246      /* options dialog */
#define IDB_WEB_HOME 6537
#define IDB_WEB_DRIVERS 6539
#define IDB_WEB_SUPPLIES 6541
#define IDB_WEB_SUPPORT 6543
#define IDB_WEB_REGISTER 6712
/* Manual-duplex instruction pictures printed on the page (logical resources 10000 to 10002). */
#define IDB_REINSERT_LONG_EDGE 6601
#define IDB_REINSERT_SHORT_EDGE 6602
#define IDB_REINSERT_STACK 6603

/* ---- Icons ---------------------------------------------------------------------------------- */

#define IDI_DUPLEX_NONE_PORTRAIT 5109
#define IDI_DUPLEX_NONE_LANDSCAPE 5110
#define IDI_DUPLEX_SHORT_PORTRAIT 5111
#define IDI_DUPLEX_SHORT_LANDSCAPE 5112
#define IDI_DUPLEX_LONG_PORTRAIT 5113
#define IDI_DUPLEX_LONG_LANDSCAPE 5114
#define IDI_LEVEL 5128 /* print density */
/* Printer families for the About page's icon table. */
#define IDI_PRINTER_DESKTOP 5290
#define IDI_PRINTER_WORKGROUP 5291
#define IDI_PRINTER_COLOR 5292

#endif
