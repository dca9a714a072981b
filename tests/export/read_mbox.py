#!/usr/bin/env python3
"""Reads an mbox file with Python's mailbox module, as another mail program
would: prints the number of messages, then one line per message with the
From line's address and the message's Date header, tab-separated."""
import mailbox
import sys

box = mailbox.mbox(sys.argv[1], create=False)
messages = list(box)
print(len(messages))
for message in messages:
    address = (message.get_from() or "").split(" ")[0]
    print(address + "\t" + str(message.get("Date", "")))
