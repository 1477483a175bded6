<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<DATAPACKET Version="2.0">
<METADATA><FIELDS>
<FIELD attrname="REG_NO" fieldtype="string" WIDTH="10"/>
<FIELD attrname="FREE_ITEM_TITLE1" fieldtype="string" WIDTH="40"/>
<FIELD attrname="FREE_ITEM1" fieldtype="string" WIDTH="1"/>
<FIELD attrname="FREE_ITEM_NOTE1" fieldtype="string" WIDTH="255"/>
<FIELD attrname="FREE_ITEM_TITLE2" fieldtype="string" WIDTH="40"/>
<FIELD attrname="FREE_ITEM2" fieldtype="string" WIDTH="1"/>
<FIELD attrname="FREE_ITEM_NOTE2" fieldtype="string" WIDTH="255"/>
</FIELDS><PARAMS/></METADATA>
<ROWDATA>
</ROWDATA>
</DATAPACKET>
