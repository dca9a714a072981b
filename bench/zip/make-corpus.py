#!/usr/bin/env python3
"""Writes a deterministic mail-like corpus: mail folder files of RFC 822
messages (varied text, some base64 attachments), about 150 MB in all.

usage: make-corpus.py OUTPUT_FOLDER [SCALE]   (SCALE 1.0 gives ~150 MB)
"""
import base64
import os
import random
import sys

WORDS = """the of and to a in is you that it he was for on are as with his they i at be this have
from or one had by word but not what all were we when your can said there use an each which she do
how their if will up other about out many then them these so some her would make like him into time
has look two more write go see number no way could people my than first water been call who oil its
now find long down day did get come made may part meeting project budget review attached please
regards thanks schedule tomorrow report quarter invoice shipment customer order delivery update
newsletter subscription offer discount family holiday weekend dinner photos birthday travel flight
hotel booking confirmation account password security notice server backup archive folder message
reply forward draft outbox inbox deleted items sent calendar contact address phone mobile office""".split()
NAMES = ["alice", "bob", "carol", "dave", "erin", "frank", "grace", "heidi", "ivan", "judy",
         "mallory", "niaj", "olivia", "peggy", "rupert", "sybil", "trent", "victor", "walter"]
DOMAINS = ["example.com", "example.org", "mail.example.net", "corp.example", "isp.example"]
DAYS = ["Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"]
MONTHS = ["Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"]
# Sizes of the mail folder files in MB: a few big folders and many small ones.
FOLDERS = [("Inbox", 30), ("Sent Items", 22), ("Archive 2000", 16), ("Projects", 12),
           ("Family", 10), ("Deleted Items", 8), ("Newsletters", 8), ("Work", 6),
           ("Travel", 6), ("Receipts", 5), ("Lists", 4), ("Friends", 4), ("Drafts", 3),
           ("Club", 3), ("Outbox", 2), ("Old", 2), ("Misc", 2), ("Photos", 1),
           ("Jokes", 1), ("Recipes", 1), ("School", 1), ("Car", 0.5), ("House", 0.5), ("Bank", 0.5)]


def address(rng):
    return "%s.%s@%s" % (rng.choice(NAMES), rng.choice(NAMES), rng.choice(DOMAINS))


def paragraph(rng):
    words = rng.choices(WORDS, k=rng.randint(20, 120))
    words[0] = words[0].capitalize()
    lines, line = [], ""
    for w in words:
        if len(line) + len(w) > 72:
            lines.append(line)
            line = ""
        line += (" " if line else "") + w
    lines.append(line + ".")
    return "\r\n".join(lines)


def attachment(rng):
    size = rng.randint(2000, 120000)
    if rng.random() < 0.5:
        data = rng.randbytes(size)  # already compressed (a photo, a zip)
    else:
        data = " ".join(rng.choices(WORDS, k=size // 5)).encode()  # a document
    text = base64.encodebytes(data).decode().replace("\n", "\r\n")
    name = "%s%d.%s" % (rng.choice(WORDS), rng.randint(1, 99), rng.choice(["jpg", "doc", "pdf", "txt"]))
    return name, text


def message(rng, n):
    boundary = "----=_NextPart_%06d" % n
    head = [
        "From: %s" % address(rng),
        "To: %s" % address(rng),
        "Subject: %s" % " ".join(rng.choices(WORDS, k=rng.randint(2, 8))),
        "Date: %s, %d %s %d %02d:%02d:%02d -0500" % (rng.choice(DAYS), rng.randint(1, 28),
                                                      rng.choice(MONTHS), rng.randint(1998, 2002),
                                                      rng.randint(0, 23), rng.randint(0, 59), rng.randint(0, 59)),
        "Message-ID: <%08x.%04x@%s>" % (rng.getrandbits(32), n & 0xFFFF, rng.choice(DOMAINS)),
        "MIME-Version: 1.0",
        "X-Mailer: Microsoft Outlook Express 5.50.4133.2400",
    ]
    body = "\r\n\r\n".join(paragraph(rng) for _ in range(rng.randint(1, 8)))
    if rng.random() >= 0.12:
        head.append("Content-Type: text/plain; charset=\"iso-8859-1\"")
        return "\r\n".join(head) + "\r\n\r\n" + body + "\r\n\r\n"
    name, text = attachment(rng)
    head.append("Content-Type: multipart/mixed; boundary=\"%s\"" % boundary)
    parts = ["--" + boundary, "Content-Type: text/plain", "", body, "--" + boundary,
             "Content-Type: application/octet-stream; name=\"%s\"" % name,
             "Content-Transfer-Encoding: base64", "", text, "--" + boundary + "--", ""]
    return "\r\n".join(head) + "\r\n\r\n" + "\r\n".join(parts)


def main():
    out = sys.argv[1]
    scale = float(sys.argv[2]) if len(sys.argv) > 2 else 1.0
    rng = random.Random(20010131)
    mail = os.path.join(out, "Mail")
    os.makedirs(mail, exist_ok=True)
    n = 0
    for folder, mb in FOLDERS:
        target = int(mb * scale * 1_000_000)
        chunks, size = [], 0
        while size < target:
            m = message(rng, n)
            n += 1
            chunks.append(m)
            size += len(m)
        with open(os.path.join(mail, folder + ".mbx"), "w", encoding="latin-1", newline="") as f:
            f.write("".join(chunks))
    print("%d messages in %d folders" % (n, len(FOLDERS)))


if __name__ == "__main__":
    main()
