// The multipart body of a message in memory: the SMIL presentation and the list of other parts.
// The file writer builds one from the composer and encodes it; the file reader fills the same
// types from a decoded file, with every Data a copy the body owns (OwnsData), so a decoded body
// stays readable after the bytes it was decoded from are gone.
#pragma once

struct tMMS_SmilPart {
  char* ContentType;           // "application/smil"
  char* Data;                  // the SMIL text
  int Len;                     // bytes in Data
  unsigned char OwnsData = 0;  // 1 when the body owns Data and frees it with itself
};

struct tMMS_Part {
  char* ContentLocation;  // for a composed part, its part name
  char* ContentID;        // none for a composed part
  char* Name;             // none for a composed part
  unsigned char* Data;
  int Len;      // bytes in Data
  int Charset;  // IANA MIBenum, meaningful when HasCharset
  unsigned char HasCharset;
  unsigned char IsSmil;    // set by the reader
  unsigned char OwnsData;  // 1 when the body owns Data and frees it with itself
  char* ContentType;
  tMMS_Part* Next;
};

struct tMMS_Body {
  tMMS_SmilPart* Smil;  // owned
  tMMS_Part* Parts;     // owned, in body order
  // Filled by the reader: the entries the body declares, those it could read whole, and 1 when
  // some were lost (the file was cut short or damaged); what was read is kept either way.
  int EntriesDeclared = 0;
  int EntriesDecoded = 0;
  unsigned char Incomplete = 0;
};
