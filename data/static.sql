-- Serial-link setting lists. The first four ports are serial ports; the six
-- protocol rows are in the order the connection dialog relies on.
INSERT INTO tblComSet (Code, Port, PortDefault, Baud, BaudDefault, Bits, Parity, StopBit, Description, ProtocolDefault, Address) VALUES
  (1, 'Com 1', 1, '4800',  0, '7', 'N', '2', 'ASCII', 0, NULL),
  (2, 'Com 2', 0, '9600',  0, '7', 'E', '1', 'ASCII', 0, NULL),
  (3, 'Com 3', 0, '19200', 1, '7', 'O', '1', 'ASCII', 0, NULL),
  (4, 'Com 4', 0, '38400', 0, '8', 'N', '2', 'RTU',   0, NULL),
  (5, NULL,    0, NULL,    0, '8', 'E', '1', 'RTU',   1, NULL),
  (6, NULL,    0, NULL,    0, '8', 'O', '1', 'RTU',   0, NULL),
  (99, NULL,   0, NULL,    0, NULL, NULL, NULL, 'Default node address', 0, 1);

-- The Ethernet route's device servers (Modbus/TCP to QX KOLV modules); each
-- has its definition file Data/Servers/<ProgID>.ini.
INSERT INTO tblOPCSevers (ProgID, Description) VALUES
  ('Tarvel.KOLV.1', 'Tarvel Ethernet route to the QX KOLV module'),
  ('Tarvel.KOLV.Network', 'Tarvel Ethernet route to several drives on one network');

INSERT INTO tblDBVER (Version, VerDate, Notes) VALUES
  ('1.00', '2004-03-15', 'QX1 series, revisions 1.04 to 1.06'),
  ('1.10', '2005-09-01', 'QX2 series added'),
  ('1.20', '2007-05-21', 'QX3 series with encoder feedback added'),
  ('1.30', '2009-02-10', 'QX1 revisions 1.07 to 1.09, QX2 revision 1.20, QX3 revision 1.04');

INSERT INTO tblCustInfo (RecNum, QuickScreen) VALUES (1, 1);
