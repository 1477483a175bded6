<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<DATAPACKET Version="2.0">
<METADATA><FIELDS>
<FIELD attrname="REG_NO" fieldtype="string" WIDTH="10" SUBTYPE="FixedChar"/>
<FIELD attrname="ORD" fieldtype="string" WIDTH="1"/>
<FIELD attrname="TYPE" fieldtype="string" WIDTH="1"/>
<FIELD attrname="NAME" fieldtype="string" WIDTH="255"/>
<FIELD attrname="TXT" fieldtype="string" WIDTH="255"/>
<FIELD attrname="MIN_VAL" fieldtype="r8"/>
<FIELD attrname="MAX_VAL" fieldtype="r8"/>
<FIELD attrname="F_UNIT" fieldtype="string" WIDTH="255"/>
</FIELDS><PARAMS/></METADATA>
<ROWDATA>
</ROWDATA>
</DATAPACKET>
