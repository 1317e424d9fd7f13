#!/usr/bin/env python3
"""Checks the settings page files in config/page/ against what the settings
program and the page host rely on: element ids, locids, texts and tooltips,
the log link, the localisation placeholder, the style sheet rules, the
Russian localisation sheet and the images.

Usage: scripts/check_page.py [page-directory]
Prints one line per failed check and a closing "N passed, N failed" line;
exits 1 when any check failed. Standard library only.
"""

import html.parser
import os
import re
import struct
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BOM = b"\xef\xbb\xbf"
VOID = {"meta", "base", "br", "img", "input", "link", "hr"}
PLACEHOLDER_IMPORT = '@import url("?LOCALIZE_CSS_URL?");'
STYLES_IMPORT = '@import url("styles.css");'
LEAFNOTE_EN_PATH = "/Source/leafnote_en.zip"
ELLIPSIS = "\u2026"  # what &#133; means in HTML
NBSP = "\u00a0"

# id -> (locid of its caption span, caption, tooltip)
CHECKBOXES = {
    "CHECKBOX_AUTORUN": ("span_autorun", "Start Kestrow with Windows",
                         "Start Kestrow with Windows automatically"),
    "CHECKBOX_BALLOON": ("span_trayballon", "Show information balloon on start",
                         "Show tray balloon tooltip on start Kestrow"),
    "CHECKBOX_START_AS_DISABLED": ("cb_startdisabled", "Start Kestrow as disabled",
                                   "Start Kestrow as disabled state"),
    "CHECKBOX_WRITE_LOG": ("cb_writelog", "Write log file" + NBSP,
                           "Write log file about events and etc"),
    "CHECKBOX_NO_MIDDLE": ("no_scroll_is_middle", "No scroll is middle button",
                           "Disallow scrolling if pressed middle mouse button"),
    "CHECKBOX_HS_SHIFT": ("scroll_hor_on_shift", "Scroll horizontally on SHIFT",
                          "Scroll a window horizontally when pressed Shift"),
    "CHECKBOX_HS_CTRL": ("scroll_hor_on_ctrl", "Scroll horizontally on CONTROL",
                         "Scroll a window horizontally when pressed  Control"),
    "CHECKBOX_HS_RBUTTON": ("scroll_hor_on_right", "Scroll horizontally if RIGHT button is pressed",
                            "Scroll a window horizontally, if the right mouse button is pressed"),
    "CHECKBOX_HS_LBUTTON": ("scroll_hor_on_left", "Scroll horizontally if LEFT button is pressed",
                            "Scroll a window horizontally, if the left mouse button is pressed"),
    # No tooltip: the page's tooltips cannot be translated.
    "CHECKBOX_FULLSCREEN": ("cb_fullscreen", "Leave full-screen programs alone", None),
    "CHECKBOX_REVERSE_VERTICAL": ("cb_reverse_vertical", "Reverse the vertical wheel", None),
    "CHECKBOX_REVERSE_HORIZONTAL": ("cb_reverse_horizontal", "Reverse the horizontal wheel", None),
    "CHECKBOX_PAUSE_SCROLL_LOCK": ("cb_pause_scroll_lock", "Leave the wheel alone while Scroll Lock is on", None),
}

# locid -> fixed English text, or None where the wording is ours to choose.
LOCIDS = {
    "lic_header_settings": "Kestrow settings",
    "lic_header_misc": NBSP + "Main",
    "open": "open" + ELLIPSIS,
    "span_smartmousewheel": "Smart Mouse Wheel",
    "span_tdx_tt": "Smart mouse wheel scroll a control under mouse pointer, "
                   "but not a control, which has keyboard focus.",
    "tallowen": None,
    "more_prod": "More Our Products",
    "ln_header": "Leafnote - Tree-structured Notes Manager",
    "km_header": "Keymark -  Keyboard Layout Indicator",
    "sd_header": "Snipdrop -  Paste commonly used text phrases with hotkeys from menu anywhere",
    "ln_desc": None,
    "km_desc": None,
    "sd_desc": None,
    "learn_more": "Learn more" + ELLIPSIS,
    "demo_video": "Demo Video" + ELLIPSIS,
    "download": "Download",
    "howto_loc": "How To Localize This",
    "span_left_alone": "Programs Left Alone",
    "span_programs_alone": "Programs Kestrow leaves alone:",
    "add_program": "Add program" + ELLIPSIS,
    # Texts the settings program copies into the rows and the message it adds.
    "remove_program": "remove",
    "program_list_full": None,
    "span_program_wheel": "Per-program wheel",
    "span_program_rules": None,
    "span_rules_hint": None,
    "rule_reverse": "reverse",
    "rule_scrollbars": "scroll bars",
    "rule_list_full": None,
}
for _locid, _caption, _ in CHECKBOXES.values():
    LOCIDS[_locid] = _caption

# Ids in the order the page must hold them (first occurrence of each).
ORDER = ["MAIN_TABLE", "theader", "CHECKBOX_AUTORUN", "CHECKBOX_BALLOON",
         "CHECKBOX_START_AS_DISABLED", "CHECKBOX_WRITE_LOG", "LINK_TO_LOG_FILE",
         "SPAN_LINK_TO_LOG_FILE", "hint", "CHECKBOX_NO_MIDDLE", "CHECKBOX_HS_SHIFT",
         "CHECKBOX_HS_CTRL", "CHECKBOX_HS_RBUTTON", "CHECKBOX_HS_LBUTTON", "CHECKBOX_FULLSCREEN",
         "PROGRAM_LIST", "LINK_ADD_PROGRAM", "PROGRAM_LIST_MESSAGE", "TEXT_REMOVE_PROGRAM",
         "TEXT_PROGRAM_LIST_FULL", "CHECKBOX_REVERSE_VERTICAL", "CHECKBOX_REVERSE_HORIZONTAL",
         "CHECKBOX_PAUSE_SCROLL_LOCK", "RULE_LIST", "LINK_ADD_RULE", "RULE_LIST_MESSAGE",
         "TEXT_RULE_REVERSE", "TEXT_RULE_SCROLLBARS", "TEXT_RULE_LIST_FULL", "BUTTON_OK",
         "BUTTON_CANCEL", "TEXT_COPY", "tallowen", "products", "adv_block", "adv_header",
         "ln_desc", "adv_link", "km_desc", "sd_desc", "adv_could", "of_site"]
ID_COUNTS = {"opt_group_name": 4, "TEXT_COPY": 2, "adv_block": 3, "adv_header": 3,
             "adv_link": 7, "of_site": 3}

# link text -> tooltip; each must appear at least once with exactly that tooltip.
LINK_TOOLTIPS = {
    "Forum": "Official Forum and User Community",
    "Email To Us": "Email To Authors",
    "Support": "Feedback form on our web site",
    "RSS (en)": "News RSS feed on English language",
    "RSS (ru)": "News RSS feed on Russian language",
    "Kestrow Official Web Site (En)": "Official web site of Kestrow in English",
    "How To Localize This": "How to localize Kestrow UI to other languages",
    "Demo Video" + ELLIPSIS: "Demo Video about Leafnote",
}
DOWNLOAD_TIPS = [
    "Download English version with installer (other localized versions see on our web site)",
    "Download multilingual version with installer (portable version see on our web site)",
    "Download multilingual version with installer (portable version see on our web site)",
]

STYLE_SELECTORS = ["#small_changed", "#of_site", ".footer", "#theader", "table", "td", ".right",
                   ".opt", ".bottom", ".copy", ".last_link", ".widget_vpad", "#opt_group_name",
                   "#products", "#button", "#adv_block", "#adv_header", "#adv_link", "#adv_could",
                   "#hint, .hint", "#tallowen", "#td_info", "#BUTTON_OK, #BUTTON_CANCEL",
                   ".main_button", "#happy_new_year", ".program_row", "#PROGRAM_LIST_MESSAGE",
                   "#PROGRAM_TEXTS", ".rule_row", ".rule_controls", ".rule_row widget", ".rule_speed", ".rule_button",
                   "#RULE_LIST_MESSAGE", "#RULE_TEXTS"]

# name -> (format, width, height)
IMAGES = {
    "bullet.gif": ("jpeg", None, None),
    "rss16.gif": ("gif", 14, 14),
    "keymark_ico.gif": ("gif", 16, 16),
    "leafnote_ico.gif": ("gif", 16, 16),
    "snipdrop_ico.gif": ("gif", 16, 16),
    "ks_howto_settings.gif": ("gif", 302, 233),
}


class Node:
    def __init__(self, tag, attrs, parent):
        self.tag = tag
        self.attrs = dict(attrs)
        self.parent = parent
        self.children = []  # Node or str

    def text(self):
        return "".join(c if isinstance(c, str) else c.text() for c in self.children)

    def walk(self):
        yield self
        for c in self.children:
            if isinstance(c, Node):
                yield from c.walk()

    def elements(self, tag):
        return [c for c in self.children if isinstance(c, Node) and c.tag == tag]


class TreeBuilder(html.parser.HTMLParser):
    """Builds a tree and insists on explicit, properly nested end tags for
    every non-void element, so the checked page does not lean on a parser's
    error recovery."""

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.root = Node("#document", {}, None)
        self.cur = self.root
        self.errors = []

    def handle_starttag(self, tag, attrs):
        node = Node(tag, attrs, self.cur)
        self.cur.children.append(node)
        if tag not in VOID:
            self.cur = node

    def handle_startendtag(self, tag, attrs):
        self.cur.children.append(Node(tag, attrs, self.cur))

    def handle_endtag(self, tag):
        if tag in VOID:
            return
        if self.cur.tag != tag:
            self.errors.append("line %d: </%s> closes <%s>" % (self.getpos()[0], tag, self.cur.tag))
            n = self.cur
            while n is not None and n.tag != tag:
                n = n.parent
            if n is None:
                return
            self.cur = n
        self.cur = self.cur.parent

    def handle_data(self, data):
        self.cur.children.append(data)


class Checker:
    def __init__(self):
        self.passed = 0
        self.failed = 0

    def check(self, ok, what):
        if ok:
            self.passed += 1
        else:
            self.failed += 1
            print("FAIL: " + what)
        return ok


def image_info(data):
    """(format, width, height) from the file's own header."""
    if data[:6] in (b"GIF87a", b"GIF89a"):
        w, h = struct.unpack_from("<HH", data, 6)
        return "gif", w, h
    if data[:2] == b"\xff\xd8":
        i = 2
        while i + 9 < len(data):
            if data[i] != 0xFF:
                break
            marker = data[i + 1]
            length = struct.unpack_from(">H", data, i + 2)[0]
            if marker in (0xC0, 0xC1, 0xC2):
                h, w = struct.unpack_from(">HH", data, i + 5)
                return "jpeg", w, h
            i += 2 + length
        return "jpeg", None, None
    return "unknown", None, None


def check_html(c, raw):
    c.check(raw.startswith(BOM + b"<html>"), 'settings.html starts with a UTF-8 BOM and "<html>"')
    try:
        text = raw[len(BOM):].decode("utf-8")
    except UnicodeDecodeError as e:
        c.check(False, "settings.html is valid UTF-8 (%s)" % e)
        return None
    c.check(text.lower().find("<html>") == 0, "the first <html> is the page start")
    c.check(text.count(PLACEHOLDER_IMPORT) == 1, "the localisation placeholder import appears once")
    c.check(0 <= text.find(STYLES_IMPORT) < text.find(PLACEHOLDER_IMPORT),
            "styles.css is imported before the placeholder")
    c.check('width="70%%"' in text, 'the first cell has width="70%%"')

    builder = TreeBuilder()
    builder.feed(text)
    builder.close()
    for e in builder.errors:
        c.check(False, "well-formed: " + e)
    c.check(builder.cur is builder.root, "every element is closed")
    return builder.root


def check_head(c, root):
    htmls = root.elements("html")
    if not c.check(len(htmls) == 1, "one html element"):
        return
    heads = htmls[0].elements("head")
    if not c.check(len(heads) == 1, "one head element"):
        return
    head = heads[0]
    metas = [m for m in head.elements("meta")
             if m.attrs.get("http-equiv", "").lower() == "content-type"]
    c.check(len(metas) == 1 and re.search(r"text/html;\s*charset=utf-8",
                                          metas[0].attrs.get("content", ""), re.I),
            "meta declares text/html with charset UTF-8")
    bases = head.elements("base")
    c.check(len(bases) == 1 and bases[0].attrs.get("target") == "_blank", 'base target "_blank"')
    styles = head.elements("style")
    c.check(len(styles) == 1, "one style element in the head")


def check_body(c, root):
    by_id = {}
    order = []
    for n in root.walk():
        i = n.attrs.get("id")
        if i:
            by_id.setdefault(i, []).append(n)
            order.append(i)

    # Ids and their order.
    for i in ORDER:
        c.check(i in by_id, "id %s present" % i)
    for i, count in ID_COUNTS.items():
        c.check(len(by_id.get(i, [])) == count, "id %s appears %d times" % (i, count))
    firsts = [order.index(i) for i in ORDER if i in order]
    c.check(firsts == sorted(firsts), "ids appear in the expected document order")

    # Main table: a row of three cells, then a row with one cell over three.
    table = by_id.get("MAIN_TABLE", [None])[0]
    if table is not None and c.check(table.tag == "table", "MAIN_TABLE is a table"):
        rows = table.elements("tr")
        c.check(len(rows) == 2, "MAIN_TABLE has two rows")
        if len(rows) == 2:
            cells0, cells1 = rows[0].elements("td"), rows[1].elements("td")
            c.check(len(cells0) == 3, "first row has three cells")
            c.check(len(cells1) == 1 and cells1[0].attrs.get("colspan") == "3",
                    "second row has one cell spanning three columns")
            if len(cells0) == 3:
                c.check(cells0[0].attrs.get("class") == "footer", 'first cell has class "footer"')
                c.check(cells0[1].attrs.get("class") == "right", 'second cell has class "right"')
                ids0 = {n.attrs.get("id") for n in cells0[0].walk()}
                ids1 = {n.attrs.get("id") for n in cells0[1].walk()}
                ids2 = {n.attrs.get("id") for n in cells0[2].walk()}
                c.check(set(CHECKBOXES) | {"theader", "BUTTON_OK", "TEXT_COPY"} <= ids0,
                        "check boxes, buttons and credits are in the first cell")
                c.check({"tallowen", "products", "adv_block"} <= ids1,
                        "quotation and products are in the second cell")
                c.check("adv_could" in ids2, "the how-to block is in the third cell")

    # Heading and release block.
    th = by_id.get("theader", [None])[0]
    c.check(th is not None and th.tag == "span" and th.attrs.get("locid") == "lic_header_settings",
            "the first theader is the heading span")
    tc = by_id.get("TEXT_COPY", [])
    c.check(len(tc) == 2 and tc[0].attrs.get("class") == "copy" and tc[1].attrs.get("class") == "copy"
            and "Official Web Site" not in tc[0].text() and tc[0].text().strip() != ""
            and "Official Web Site: " in tc[1].text(),
            "the first TEXT_COPY is the credits block, the second the web site block")

    # Check boxes: widget, tooltip, caption span with its locid.
    for cid, (locid, caption, tip) in CHECKBOXES.items():
        nodes = by_id.get(cid, [])
        if not nodes:
            continue
        w = nodes[0]
        c.check(len(nodes) == 1 and w.tag == "widget" and w.attrs.get("type") == "checkbox",
                "%s is one checkbox widget" % cid)
        c.check(w.attrs.get("title") == tip, "%s tooltip" % cid)
        spans = [s for s in w.elements("span") if s.attrs.get("locid") == locid]
        c.check(len(spans) == 1 and spans[0].text() == caption, "%s caption span" % cid)
    shift = by_id.get("CHECKBOX_HS_SHIFT", [None])[0]
    c.check(shift is not None and shift.attrs.get("class") == "widget_vpad",
            'CHECKBOX_HS_SHIFT has class "widget_vpad"')

    # The link that adds a program to the list.
    adds = [n for n in root.walk() if n.tag == "a" and n.attrs.get("href") == "ADD_PROGRAM"]
    c.check(len(adds) == 1 and adds[0].attrs.get("id") == "LINK_ADD_PROGRAM",
            'one link with href "ADD_PROGRAM", id LINK_ADD_PROGRAM')

    # Log link inside the log check box.
    links = [n for n in root.walk() if n.tag == "a" and n.attrs.get("href") == "LINK_TO_LOG_FILE"]
    ok = len(links) == 1 and links[0].attrs.get("id") == "LINK_TO_LOG_FILE" \
        and links[0].attrs.get("title") == "Open log file" \
        and links[0].parent.attrs.get("id") == "CHECKBOX_WRITE_LOG"
    c.check(ok, 'one log link, href "LINK_TO_LOG_FILE", inside CHECKBOX_WRITE_LOG')
    span = by_id.get("SPAN_LINK_TO_LOG_FILE", [None])[0]
    c.check(span is not None and span.attrs.get("class") == "hint" and span.parent in links,
            "the log link holds the hint span")

    # Buttons.
    for bid, kind, role, value, tip in (("BUTTON_OK", "submit", "default-button", "OK", "Save Settings"),
                                        ("BUTTON_CANCEL", "button", "cancel-button", "Cancel",
                                         "Undo changes")):
        b = by_id.get(bid, [None])[0]
        c.check(b is not None and b.tag == "input" and b.attrs.get("type") == kind
                and b.attrs.get("role") == role and b.attrs.get("value") == value
                and b.attrs.get("title") == tip and b.attrs.get("class") == "main_button",
                "%s input" % bid)

    # Locids and their English texts.
    seen = {}
    for n in root.walk():
        if "locid" in n.attrs:
            seen.setdefault(n.attrs["locid"], []).append(n)
    for locid, want in LOCIDS.items():
        nodes = seen.get(locid, [])
        if not c.check(nodes, "locid %s present" % locid):
            continue
        for n in nodes:
            got = n.text()
            if want is None:
                c.check(got.strip() != "", "locid %s has a text" % locid)
            else:
                c.check(got == want, "locid %s text %r (found %r)" % (locid, want, got))
    c.check(set(seen) <= set(LOCIDS), "no unexpected locids: %s" % sorted(set(seen) - set(LOCIDS)))
    c.check(len(seen.get("learn_more", [])) == 3 and len(seen.get("download", [])) == 3,
            "three Learn more and three Download links")
    tallowen = by_id.get("tallowen", [None])[0]
    c.check(tallowen is not None and "\u00ab" in tallowen.text() and "\u00bb" in tallowen.text()
            and tallowen.elements("br"), "the quotation is in guillemets with a line break")

    # Links: tooltips, addresses.
    anchors = [n for n in root.walk() if n.tag == "a"]
    for label, tip in LINK_TOOLTIPS.items():
        c.check(any(a.text().strip() == label and a.attrs.get("title") == tip for a in anchors),
                "link %r with its tooltip" % label)
    for product in ("Leafnote", "Keymark", "Snipdrop"):
        c.check(any(a.attrs.get("title") == "Learn more about " + product for a in anchors),
                "Learn more about %s" % product)
    downloads = [a for a in anchors if a.text() == "Download"]
    c.check([a.attrs.get("title") for a in downloads] == DOWNLOAD_TIPS, "download tooltips")
    ru = [a for a in anchors if a.text() == "Kestrow Официальный веб-сайт (ру)"]
    c.check(len(ru) == 1 and ru[0].attrs.get("id") == "of_site"
            and re.search("[а-я]", ru[0].attrs.get("title", "")), "Russian site link with a Russian tooltip")
    mail = [a for a in anchors if a.text() == "Email To Us"]
    c.check(len(mail) == 1 and mail[0].attrs.get("href", "").startswith("mailto:"), "mail link")

    hosts = set()
    for a in anchors:
        href = a.attrs.get("href", "")
        if href in ("LINK_TO_LOG_FILE", "ADD_PROGRAM", "ADD_RULE") or href.startswith("mailto:"):
            continue
        m = re.match(r"(https?://[^/]+)(/.*)?$", href)
        if c.check(m is not None, "link %r is a web address" % href):
            hosts.add(m.group(1))
    c.check(len(hosts) == 1, "every web link is on one site: %s" % sorted(hosts))
    site = sorted(hosts)[0] if hosts else "?"
    hrefs = [a.attrs.get("href", "") for a in anchors]
    for path in ("/forum/", "/about.shtml", "/keymark.shtml", "/snipdrop.shtml", LEAFNOTE_EN_PATH):
        c.check(site + path in hrefs, "a link to %s%s" % (site, path))
    c.check(hrefs.count(site + LEAFNOTE_EN_PATH) == 1, "the English Leafnote download appears once")
    c.check(any(h.endswith("#howto_loc") for h in hrefs), "the localisation how-to link")

    # Images: referenced names exist.
    return [n.attrs.get("src") for n in root.walk() if n.tag == "img"]


def check_styles(c, raw):
    c.check(raw.startswith(BOM), "styles.css starts with a UTF-8 BOM")
    text = raw[len(BOM):].decode("utf-8", errors="replace")
    lines = [ln for ln in text.splitlines() if ln.strip()]
    c.check(lines[:1] == ["<style>"] and lines[-1:] == ["</style>"],
            'styles.css rules stand between "<style>" and "</style>" lines')
    rules = re.findall(r"([^{}]+)\{([^{}]*)\}", "\n".join(lines[1:-1]))
    selectors = [s.strip() for s, _ in rules]
    c.check(selectors == STYLE_SELECTORS, "style rules in order: %s" % selectors)
    body = {s.strip(): d for s, d in rules}
    c.check("width: 100%%;" in body.get("table", ""), 'table width "100%%"')
    c.check("font-size: 110%%;" in body.get("#adv_header", ""), 'product header size "110%%"')
    c.check(text.count("%%") == 2, "exactly two doubled percent signs in the style sheet")
    for hidden in ("#PROGRAM_TEXTS", "#RULE_TEXTS"):
        c.check("display: none;" in body.get(hidden, ""), "the texts the program copies are hidden")


def check_localization(c, raw):
    c.check(b"\0" not in raw, "localize_Ru.css has no zero bytes")
    try:
        text = raw.decode("utf-8")
    except UnicodeDecodeError:
        c.check(False, "localize_Ru.css is UTF-8")
        return
    c.check(not text.startswith("\ufeff"), "localize_Ru.css has no BOM")
    rules = re.findall(r'\[locid="([^"]+)"\]\s*\{\s*content:\s*"([^"]*)";\s*\}', text)
    got = [k for k, _ in rules]
    c.check(len(got) == len(set(got)), "each locid translated once")
    c.check(set(got) == set(LOCIDS), "every locid is translated: missing %s, extra %s"
            % (sorted(set(LOCIDS) - set(got)), sorted(set(got) - set(LOCIDS))))
    for k, v in rules:
        c.check(re.search("[А-Яа-яЁё]", v) is not None or v.strip() == "", "%s is in Russian" % k)
    stripped = re.sub(r"/\*.*?\*/", "", text, flags=re.S)
    leftover = re.sub(r'\[locid="[^"]+"\]\s*\{\s*content:\s*"[^"]*";\s*\}', "", stripped)
    c.check(leftover.strip() == "", "localize_Ru.css holds only comments and content rules")


def check_images(c, page_dir, referenced):
    for name in sorted(set(referenced)):
        c.check(name in IMAGES, "image %s is one the page host serves" % name)
    for name, (fmt, w, h) in IMAGES.items():
        c.check(name in referenced, "image %s is used by the page" % name)
        path = os.path.join(page_dir, name)
        if not c.check(os.path.isfile(path), "image %s exists" % name):
            continue
        with open(path, "rb") as f:
            got = image_info(f.read())
        c.check(got[0] == fmt and (w is None or got[1:] == (w, h)),
                "image %s is %s %sx%s (found %s %sx%s)" % ((name, fmt, w, h) + got))


def main(argv):
    page_dir = argv[1] if len(argv) > 1 else os.path.join(ROOT, "config", "page")
    c = Checker()
    with open(os.path.join(page_dir, "settings.html"), "rb") as f:
        root = check_html(c, f.read())
    if root is not None:
        check_head(c, root)
        referenced = check_body(c, root)
        check_images(c, page_dir, referenced)
    with open(os.path.join(page_dir, "styles.css"), "rb") as f:
        check_styles(c, f.read())
    with open(os.path.join(page_dir, "localize_Ru.css"), "rb") as f:
        check_localization(c, f.read())
    print("%d passed, %d failed" % (c.passed, c.failed))
    return 1 if c.failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
