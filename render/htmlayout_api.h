/* The renderer's public interface: a small C-style API over one window.
 *
 * The host hands every message of its window to HTMLayoutProcND first, loads
 * a page with HTMLayoutLoadHtml and answers the renderer's load-data
 * notifications with HTMLayoutDataReady. Elements are opaque handles that
 * stay valid between HTMLayout_UseElement and HTMLayout_UnuseElement; a
 * handle given to a callback is valid for the duration of that callback.
 * Attribute values and text16 are UTF-16, HTML is UTF-8. Every call is made
 * on the window's thread; callbacks run synchronously inside the calls and
 * inside HTMLayoutProcND. Nothing is thrown out of these functions.
 */
#pragma once

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

/* An element of a page. */
typedef struct HLElement_* HLELEMENT;

/* Results of the operations: 0 is success. */
typedef enum HLResult {
  HL_OK = 0,
  HL_INVALID_WINDOW = 1,  /* not a window, or no page loaded in it */
  HL_INVALID_ELEMENT = 2, /* null, removed and unpinned, or never ours */
  HL_INVALID_PARAMETER = 3,
  HL_FAILED = 4, /* out of memory or another internal failure */
} HLResult;

/* ---- Notifications (HTMLayoutSetCallback) ---------------------------- */

enum {
  HLN_LOAD_DATA = 0xB01,         /* HLLoadDataNotify: the page needs a resource */
  HLN_DATA_LOADED = 0xB03,       /* HLDataLoadedNotify: a resource arrived */
  HLN_DOCUMENT_COMPLETE = 0xB04, /* HLNotifyHeader only */
  HLN_ATTACH_BEHAVIOR = 0xB07,   /* HLAttachBehaviorNotify */
};

/* What a resource is needed for. */
enum { HL_DATA_HTML = 0, HL_DATA_IMAGE = 1, HL_DATA_STYLE = 2 };

/* Answers to HLN_LOAD_DATA. */
enum {
  HL_LOAD_OK = 0,      /* answered (DataReady or outData) or left to the renderer */
  HL_LOAD_DISCARD = 1, /* there is no such resource */
  HL_LOAD_DELAYED = 2, /* the host answers later with HTMLayoutDataReady */
};

typedef struct HLNotifyHeader {
  UINT code; /* HLN_* */
  HWND window;
} HLNotifyHeader;

/* The renderer has no loader of its own: a request that the host neither
   answers nor delays counts as not found, and the page goes on without it. */
typedef struct HLLoadDataNotify {
  HLNotifyHeader header;
  const WCHAR* uri;    /* as written in the page */
  UINT dataType;       /* HL_DATA_* */
  const BYTE* outData; /* the host may answer here instead of DataReady */
  UINT outDataSize;
} HLLoadDataNotify;

typedef struct HLDataLoadedNotify {
  HLNotifyHeader header;
  const WCHAR* uri;
  UINT dataType;
  const BYTE* data;
  UINT dataSize;
} HLDataLoadedNotify;

/* Element event handler: answers TRUE when it handled the event, which stops
   the renderer's own handling. he is the element the handler is attached to
   (the root for window handlers); params depends on the group. */
typedef BOOL(CALLBACK* HLEventProc)(void* tag, HLELEMENT he, UINT group, void* params);

/* Sent after a load for every element with a "behavior" attribute. A host
   that knows the behaviour sets proc (and procTag): it then sees that
   element's events before the window handlers do. */
typedef struct HLAttachBehaviorNotify {
  HLNotifyHeader header;
  HLELEMENT element;
  const char* behaviorName; /* UTF-8 */
  HLEventProc proc;         /* out */
  void* procTag;            /* out */
} HLAttachBehaviorNotify;

typedef UINT(CALLBACK* HLNotifyProc)(HLNotifyHeader* notification, void* param);

/* ---- Events (HTMLayoutWindowAttachEventHandler) ---------------------- */

/* Event groups: the subscription is a mask of them; 0xFFFF takes all. The
   renderer raises INITIALIZATION, MOUSE, KEY, FOCUS, SIZE and
   BEHAVIOR_EVENT; the other groups exist for handlers that route by group. */
enum {
  HL_GROUP_INITIALIZATION = 0x0000,
  HL_GROUP_MOUSE = 0x0001,
  HL_GROUP_KEY = 0x0002,
  HL_GROUP_FOCUS = 0x0004,
  HL_GROUP_SCROLL = 0x0008,
  HL_GROUP_TIMER = 0x0010,
  HL_GROUP_SIZE = 0x0020,
  HL_GROUP_DRAW = 0x0040,
  HL_GROUP_DATA_ARRIVED = 0x0080,
  HL_GROUP_BEHAVIOR_EVENT = 0x0100,
  HL_GROUP_METHOD_CALL = 0x0200,
  HL_GROUP_EXCHANGE = 0x1000,
  HL_GROUP_GESTURE = 0x2000,
  HL_GROUP_ALL = 0xFFFF,
};

/* Phase flag on event codes: the event travels from the root down to the
   target (sinking) before it bubbles back up without the flag. */
enum { HL_SINKING = 0x8000 };

/* HL_GROUP_INITIALIZATION: params is HLInitParams. */
enum { HL_INIT_ATTACHED = 0, HL_INIT_DETACHED = 1 };
typedef struct HLInitParams {
  UINT cmd;
} HLInitParams;

/* HL_GROUP_MOUSE: params is HLMouseParams. */
enum {
  HL_MOUSE_ENTER = 0,
  HL_MOUSE_LEAVE = 1,
  HL_MOUSE_MOVE = 2,
  HL_MOUSE_UP = 3,
  HL_MOUSE_DOWN = 4,
  HL_MOUSE_DCLICK = 5,
  HL_MOUSE_WHEEL = 6
};
typedef struct HLMouseParams {
  UINT cmd;
  HLELEMENT target; /* innermost element under the pointer, may be null */
  POINT pos;        /* client coordinates, device pixels */
  UINT buttons;     /* MK_* of the message */
  int wheelDelta;   /* HL_MOUSE_WHEEL */
} HLMouseParams;

/* HL_GROUP_KEY: params is HLKeyParams. */
enum { HL_KEY_DOWN = 0, HL_KEY_UP = 1, HL_KEY_CHAR = 2 };
typedef struct HLKeyParams {
  UINT cmd;
  HLELEMENT target; /* the focused element, else the root */
  UINT keyCode;     /* virtual key, or the character for HL_KEY_CHAR */
  BOOL shift, control, alt;
} HLKeyParams;

/* HL_GROUP_FOCUS: params is HLFocusParams. */
enum { HL_FOCUS_LOST = 0, HL_FOCUS_GOT = 1 };
typedef struct HLFocusParams {
  UINT cmd;
  HLELEMENT target;
  BOOL byMouse;
} HLFocusParams;

/* HL_GROUP_SIZE: params is null; he is the root, sent after the window's
   client area changed size. */

/* HL_GROUP_BEHAVIOR_EVENT: params is HLBehaviorParams. Each event is sent
   twice, first with HL_SINKING and then without it, unless a handler
   answers TRUE. */
enum {
  HL_BUTTON_CLICK = 0,         /* a button, check box or radio was clicked */
  HL_BUTTON_STATE_CHANGED = 2, /* a check box or radio is about to change state;
                                  reason holds the new state bits */
  HL_HYPERLINK_CLICK = 0x80,   /* a link was clicked */
};
/* Why an element was activated. */
enum { HL_BY_MOUSE = 0, HL_BY_KEY = 1 };
typedef struct HLBehaviorParams {
  UINT cmd;         /* HL_BUTTON_CLICK... with or without HL_SINKING */
  HLELEMENT target; /* the button, check box or link */
  HLELEMENT source; /* the element the input arrived at (may equal target) */
  UINT_PTR reason;
} HLBehaviorParams;

/* ---- Element states, control types, areas ----------------------------- */

enum {
  HL_STATE_HOVER = 0x02,
  HL_STATE_ACTIVE = 0x04,
  HL_STATE_FOCUS = 0x08,
  HL_STATE_VISITED = 0x10,
  HL_STATE_CHECKED = 0x40,
  HL_STATE_DISABLED = 0x80,
};

enum {
  HL_CONTROL_NONE = 0,
  HL_CONTROL_BUTTON = 3,
  HL_CONTROL_CHECKBOX = 5,
  HL_CONTROL_RADIO = 6,
  HL_CONTROL_HYPERLINK = 7,
};

/* HTMLayoutGetElementLocation: one origin flag, optionally with a box. */
enum {
  HL_ROOT_RELATIVE = 0x01, /* relative to the root element's border box */
  HL_VIEW_RELATIVE = 0x02, /* relative to the window's client area (scroll applied) */
  HL_CONTENT_BOX = 0x00,
  HL_BORDER_BOX = 0x20,
};

/* HTMLayoutSetElementHtml: where the HTML goes. */
enum { HL_SET_CONTENT = 0, HL_PREPEND_CONTENT = 1, HL_APPEND_CONTENT = 2 };

/* HTMLayoutUpdateElementEx flags. */
enum { HL_UPDATE_MEASURE = 0x01, HL_UPDATE_PAINT_NOW = 0x10 };

typedef void(CALLBACK* HLReceiveBytes)(const BYTE* bytes, UINT size, void* param);
typedef void(CALLBACK* HLReceiveText16)(const WCHAR* text, UINT length, void* param);
/* Answers TRUE to stop the visit. */
typedef BOOL(CALLBACK* HLElementVisitor)(HLELEMENT he, void* param);

/* ---- Window -------------------------------------------------------------- */

/* First look at every message of the host window. *handled says whether the
   renderer handled it, in which case the result is the message's result. */
LRESULT WINAPI HTMLayoutProcND(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, BOOL* handled);

HLResult WINAPI HTMLayoutSetCallback(HWND hwnd, HLNotifyProc proc, void* param);
HLResult WINAPI HTMLayoutWindowAttachEventHandler(HWND hwnd, HLEventProc proc, void* tag, UINT subscription);
HLResult WINAPI HTMLayoutWindowDetachEventHandler(HWND hwnd, HLEventProc proc, void* tag);

/* Parses the page and requests its style sheets and images through
   HLN_LOAD_DATA; HLN_DOCUMENT_COMPLETE follows once every request has been
   answered or refused (possibly before this call returns). */
HLResult WINAPI HTMLayoutLoadHtml(HWND hwnd, const BYTE* html, UINT size);
/* Answers a load-data request; null data or size 0 means not found. */
HLResult WINAPI HTMLayoutDataReady(HWND hwnd, const WCHAR* uri, const BYTE* data, UINT size);

/* Minimum width of the page, and its height for a width, in device pixels. */
UINT WINAPI HTMLayoutGetMinWidth(HWND hwnd);
/* The width the page prefers: beyond it nothing of it gets wider but what has
   no width of its own. Device pixels. */
UINT WINAPI HTMLayoutGetMaxWidth(HWND hwnd);
UINT WINAPI HTMLayoutGetMinHeight(HWND hwnd, UINT width);

/* ---- Elements ----------------------------------------------------------- */

HLResult WINAPI HTMLayoutGetRootElement(HWND hwnd, HLELEMENT* root);
HLResult WINAPI HTMLayout_UseElement(HLELEMENT he);
HLResult WINAPI HTMLayout_UnuseElement(HLELEMENT he);

/* Visits the elements below he (he itself not included) in document order.
   tag (UTF-8, null for any), attribute name (UTF-8, null for any) and value
   (UTF-16, null for any value) filter them; depth 0 means all depths, n the
   first n levels. */
HLResult WINAPI HTMLayoutVisitElements(HLELEMENT he, const char* tag, const char* attributeName,
                                       const WCHAR* attributeValue, HLElementVisitor visitor, void* param, UINT depth);

/* The attribute's value, empty when the attribute is absent. */
HLResult WINAPI HTMLayoutGetAttributeByName(HLELEMENT he, const char* name, HLReceiveText16 receiver, void* param);

HLResult WINAPI HTMLayoutGetElementState(HLELEMENT he, UINT* state);
HLResult WINAPI HTMLayoutSetElementState(HLELEMENT he, UINT set, UINT clear, BOOL update);
HLResult WINAPI HTMLayoutControlGetType(HLELEMENT he, UINT* type);

/* Inner (outer FALSE) or outer HTML as UTF-8; inner text as UTF-8. */
HLResult WINAPI HTMLayoutGetElementHtmlCB(HLELEMENT he, BOOL outer, HLReceiveBytes receiver, void* param);
HLResult WINAPI HTMLayoutGetElementInnerTextCB(HLELEMENT he, HLReceiveBytes receiver, void* param);
HLResult WINAPI HTMLayoutSetElementHtml(HLELEMENT he, const BYTE* html, UINT size, UINT where);
HLResult WINAPI HTMLayoutSetElementInnerText16(HLELEMENT he, const WCHAR* text, UINT length);

/* Lays the page out again after a change and repaints it. */
HLResult WINAPI HTMLayoutUpdateElement(HLELEMENT he, BOOL remeasure);
HLResult WINAPI HTMLayoutUpdateElementEx(HLELEMENT he, UINT flags);

/* The element's box in device pixels; area is HL_ROOT_RELATIVE or
   HL_VIEW_RELATIVE, plus HL_CONTENT_BOX or HL_BORDER_BOX. */
HLResult WINAPI HTMLayoutGetElementLocation(HLELEMENT he, RECT* location, UINT area);

#ifdef __cplusplus
}
#endif
