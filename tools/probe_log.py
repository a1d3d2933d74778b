#!/usr/bin/env python3
"""Logs the destination of every ICMP echo request into 10.64.0.0/12 that arrives on an interface."""
import socket
import sys

ETH_P_IP = 0x0800
dev, path = sys.argv[1], sys.argv[2]
s = socket.socket(socket.AF_PACKET, socket.SOCK_DGRAM, socket.htons(ETH_P_IP))
s.bind((dev, ETH_P_IP))
with open(path + ".ready", "w") as ready:
    ready.write("ready\n")
with open(path, "a") as log:
    while True:
        ip, addr = s.recvfrom(65535)
        if addr[2] == socket.PACKET_OUTGOING or len(ip) < 21 or ip[9] != 1:
            continue
        if ip[(ip[0] & 15) * 4] == 8 and ip[16] == 10 and ip[17] & 0xF0 == 64:
            log.write(socket.inet_ntoa(ip[16:20]) + "\n")
            log.flush()
