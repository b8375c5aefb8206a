# SPDX-FileCopyrightText: 2026 TavixQtBase contributors
#
# SPDX-License-Identifier: BSD-3-Clause

"""A scripted GigE Vision responder that plays broken cameras for the camera monitor's tests."""

import heapq
import select
import socket
import struct
import threading
import time

from harness import GVCP_PORT, gvcp_packet


class HostileCameras(threading.Thread):
    """GigE Vision cameras played on loopback addresses, one UDP socket each, for the monitor under test.

    Each camera answers discovery (broadcast, unless hidden, and sent to its own address), register reads and
    writes and memory reads (its bootstrap registers and a small GenICam file with the features Aravis needs to
    stream), and sends no frame. Its memory reads are answered after its delay, without holding up the other
    cameras; its GenICam file is padded to its size.
    Speak only inside a private network namespace: discovery listens on every address.
    """

    XML_ADDRESS = 0x100000
    XML_REGISTER = ('<IntReg Name="%s"><Address>%s</Address><Length>4</Length><AccessMode>RW</AccessMode>'
                    '<pPort>Device</pPort><Sign>Unsigned</Sign><Endianess>BigEndian</Endianess></IntReg>\n')
    # The features Aravis needs to stream; a comment pads the file to a camera's size.
    XML = ('<?xml version="1.0" encoding="utf-8"?>\n'
           '<RegisterDescription ModelName="Hostile" VendorName="Hostile" StandardNameSpace="None" '
           'SchemaMajorVersion="1" SchemaMinorVersion="1" SchemaSubMinorVersion="0" MajorVersion="1" '
           'MinorVersion="0" SubMinorVersion="0" ToolTip="" ProductGuid="0" VersionGuid="0" '
           'xmlns="http://www.genicam.org/GenApi/Version_1_1">\n'
           '<Category Name="Root"><pFeature>AcquisitionMode</pFeature><pFeature>PayloadSize</pFeature>'
           '<pFeature>AcquisitionStart</pFeature><pFeature>AcquisitionStop</pFeature></Category>\n'
           '<Enumeration Name="AcquisitionMode"><EnumEntry Name="Continuous"><Value>0</Value></EnumEntry>'
           '<pValue>AcquisitionModeRegister</pValue></Enumeration>\n'
           '<Integer Name="PayloadSize"><Value>4096</Value></Integer>\n'
           '<Command Name="AcquisitionStart"><pValue>AcquisitionRegister</pValue><CommandValue>1</CommandValue>'
           '</Command>\n'
           '<Command Name="AcquisitionStop"><pValue>AcquisitionRegister</pValue><CommandValue>0</CommandValue>'
           '</Command>\n'
           + XML_REGISTER % ("AcquisitionModeRegister", "0x8000") + XML_REGISTER % ("AcquisitionRegister", "0x8004")
           + '<Port Name="Device"/>\n'
           '<!-- %s -->\n'
           '</RegisterDescription>\n')

    def __init__(self, cameras):
        super().__init__(daemon=True)
        self.stopping = False
        self.discovery = self.bind("0.0.0.0")
        self.sockets = {self.bind(camera["address"]): self.memory(index, camera)
                        for index, camera in enumerate(cameras)}
        self.memory_reads = {camera["address"]: 0 for camera in cameras}  # written by this thread only
        self.pending = []  # (due time, sequence, socket, answer, peer)

    @staticmethod
    def bind(address):
        udp = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        udp.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        udp.bind((address, GVCP_PORT))
        return udp

    def memory(self, index, camera):
        xml = camera.get("xml", (self.XML % ("x" * camera.get("xml_padding", 0))).encode())
        registers = bytearray(0x10000)
        fields = [(0x0000, struct.pack(">I", 0x00010002)), (0x0004, struct.pack(">I", 0x80000000)),
                  (0x0008, bytes([0, 0, 0x02, 0])), (0x000C, bytes([0, 0, 0, index + 1])),
                  (0x0010, struct.pack(">I", 0x7)), (0x0014, struct.pack(">I", camera.get("ip_configuration", 0))),
                  (0x0024, socket.inet_aton(camera["address"])), (0x0034, socket.inet_aton("255.0.0.0")),
                  (0x0048, camera["vendor"][:32]), (0x0068, camera["model"][:32]), (0x00D8, camera["serial"][:16]),
                  (0x0200, ("Local:hostile.xml;%x;%x" % (self.XML_ADDRESS, len(xml))).encode()),
                  (0x0904, struct.pack(">I", 1)), (0x0938, struct.pack(">I", 3000))]
        for offset, value in fields:
            registers[offset:offset + len(value)] = value
        return {"registers": registers, "xml": xml, "delay": camera.get("delay", 0.0), "address": camera["address"],
                "discovery": bytes(registers[:0xF8]), "hidden": camera.get("hidden", False)}

    def read(self, camera, address, count):
        memory, start = ((camera["xml"], address - self.XML_ADDRESS) if address >= self.XML_ADDRESS
                         else (camera["registers"], address))
        return bytes(memory[start:start + count]).ljust(count, b"\0")

    def answer(self, camera, packet):
        """The acknowledge of one command and its delay, or None for commands that get no answer."""
        if len(packet) < 8 or packet[0] != 0x42:
            return None
        (command, packet_id), payload = struct.unpack(">2xH2xH", packet[:8]), packet[8:]
        if command == 0x0002:  # DISCOVERY_CMD sent to the camera's own address
            return gvcp_packet(0, 0x0003, camera["discovery"], packet_id), 0.0
        if command == 0x0080:  # READREG
            addresses = struct.unpack(">%dI" % (len(payload) // 4), payload)
            return gvcp_packet(0, 0x0081, b"".join(self.read(camera, a, 4) for a in addresses), packet_id), 0.0
        if command in (0x0082, 0x0086):  # WRITEREG, WRITEMEM
            writes = ([struct.unpack(">I", payload[:4]) + (payload[4:],)] if command == 0x0086 else
                      [(a, struct.pack(">I", v)) for a, v in struct.iter_unpack(">II", payload[:len(payload) // 8 * 8])])
            for address, data in writes:
                if address + len(data) <= len(camera["registers"]):
                    camera["registers"][address:address + len(data)] = data
            return gvcp_packet(0, command + 1, struct.pack(">HH", 0, len(writes)), packet_id), 0.0
        if command == 0x0084:  # READMEM
            address, count = struct.unpack(">IxxH", payload[:8])
            self.memory_reads[camera["address"]] += 1
            data = struct.pack(">I", address) + self.read(camera, address, count)
            return gvcp_packet(0, 0x0085, data, packet_id), camera["delay"]
        return None

    def run(self):
        sequence = 0
        while not self.stopping:
            timeout = 0.1 if not self.pending else max(0.0, min(0.1, self.pending[0][0] - time.monotonic()))
            readable, _, _ = select.select([self.discovery] + list(self.sockets), [], [], timeout)
            for udp in readable:
                packet, peer = udp.recvfrom(2048)
                if udp is self.discovery:  # a broadcast DISCOVERY_CMD gets an answer of each camera not hidden
                    for camera in self.sockets.values():
                        if packet[2:4] == b"\x00\x02" and not camera["hidden"]:
                            udp.sendto(gvcp_packet(0, 0x0003, camera["discovery"], 0xFFFF), peer)
                    continue
                reply = self.answer(self.sockets[udp], packet)
                if reply:
                    sequence += 1
                    heapq.heappush(self.pending, (time.monotonic() + reply[1], sequence, udp, reply[0], peer))
            while self.pending and self.pending[0][0] <= time.monotonic():
                _, _, udp, data, peer = heapq.heappop(self.pending)
                udp.sendto(data, peer)
