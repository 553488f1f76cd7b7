#pragma once

// The page's way into the core: C functions over the main window's rules,
// the Results and statistics texts, and the module's copy of the main
// window's controls. Texts cross in UTF-8. Inside, they are held in code page
// 1252, as the Windows program holds them: each character of 1252 as itself,
// every other character (and each byte that is not UTF-8) as "?". Every text
// handed out is zero-terminated in the module's memory and stays valid until
// the next call. No argument can make a call write past a buffer.

#ifdef __wasm__
#define BRAWLWISE_EXPORT(name) __attribute__((export_name(name)))
#else
#define BRAWLWISE_EXPORT(name)
#endif

extern "C" {

// The buffer into which the page writes a box's text in UTF-8 before
// bw_set_text, and its size in bytes: room for the 29 characters that a box
// keeps, whatever their encoding.
BRAWLWISE_EXPORT("bw_text_buffer") char* bw_text_buffer();
BRAWLWISE_EXPORT("bw_text_buffer_size") int bw_text_buffer_size();

// Makes the first `length` bytes of the text buffer (clamped to its size, up
// to a zero byte) the text of edit box `control` (4001, 4002, 4006, 4007),
// keeping its first 29 characters. Other controls are ignored.
BRAWLWISE_EXPORT("bw_set_text") void bw_set_text(int control, int length);

// Chooses item `index` of list `control` (1004, 1005); -1, or any index out
// of range, chooses nothing.
BRAWLWISE_EXPORT("bw_set_choice") void bw_set_choice(int control, int index);

// Ticks tick-box `control` when `value` is exactly 1, else unticks it.
BRAWLWISE_EXPORT("bw_set_tick") void bw_set_tick(int control, int value);

// Calculate. Returns 1 when it is refused (bw_refusal says why), 0 when the
// Results window opens (bw_results_text, bw_verdict). Either way an empty
// name box has received its default name (bw_box_changed).
BRAWLWISE_EXPORT("bw_calculate") int bw_calculate();

// SSS for player 0 or 1; the statistics window's texts follow from
// bw_statistics_text. Writes nothing back into the boxes.
BRAWLWISE_EXPORT("bw_statistics") void bw_statistics(int player);

// Clear: the boxes empty, the lists refilled with no choice, no tick.
BRAWLWISE_EXPORT("bw_clear") void bw_clear();

// The controls as the module holds them: an edit box's text; whether the
// last command (Calculate or Clear) wrote into the box; a list's item count,
// items and choice (-1 for none); a tick-box's state (1 or 0). Unknown
// controls and indices give "", 0 or -1.
BRAWLWISE_EXPORT("bw_box_text") const char* bw_box_text(int control);
BRAWLWISE_EXPORT("bw_box_changed") int bw_box_changed(int control);
BRAWLWISE_EXPORT("bw_list_count") int bw_list_count(int control);
BRAWLWISE_EXPORT("bw_list_item") const char* bw_list_item(int control, int index);
BRAWLWISE_EXPORT("bw_choice") int bw_choice(int control);
BRAWLWISE_EXPORT("bw_ticked") int bw_ticked(int control);

// The refusal of the last Calculate ("" when it was not refused), and the
// caption of the box that shows it.
BRAWLWISE_EXPORT("bw_refusal") const char* bw_refusal();
BRAWLWISE_EXPORT("bw_refusal_caption") const char* bw_refusal_caption();

// The Results window of the last accepted Calculate: its text boxes by
// control number (1202, 1203, 1204, 1209 the lines; 1205, 1206, 1207 the
// security sentences), and its verdict (0 the tick, 1 the cross).
BRAWLWISE_EXPORT("bw_results_text") const char* bw_results_text(int control);
BRAWLWISE_EXPORT("bw_verdict") int bw_verdict();

// The statistics window of the last SSS: its caption (1300) and its seven
// boxes by control number (1302 to 1308), empty when the status was not given
// or has no count.
BRAWLWISE_EXPORT("bw_statistics_text") const char* bw_statistics_text(int control);

}  // extern "C"
